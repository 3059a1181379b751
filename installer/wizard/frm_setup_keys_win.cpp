// The wizard and the keyboard: Tab and Shift+Tab through the page's controls
// and then the buttons, Enter for Next (or the button that has the focus), Esc
// for the cancel images' handler, the arrows between the licence options, and
// the options' mnemonics. Space on a button is the button's own.
#include <windows.h>

#include <commctrl.h>

#include <cwctype>
#include <vector>

#include "wizard/control_ids.h"
#include "wizard/frm_setup_win.h"
#include "wizard/image_button_win.h"

namespace tessaro {

namespace {

namespace slot = ids::slot;

// The page's controls top to bottom; the buttons follow, left to right.
constexpr int kTabOrder[] = {ids::Welcome, ids::Lic_Accetto, ids::Lic_NonAccetto, ids::CopyPath,
                             ids::Browse,  ids::PrgGroup,    ids::DeskShort};

bool Usable(HWND control) {
  return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool IsClass(HWND control, const wchar_t* name) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 31);
  return _wcsicmp(cls, name) == 0;
}

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool FrmSetup::Pressable(HWND image) const { return Usable(image) && cx_.state.WizardStep < 6; }

// The control that has the focus, the combo box for its own text field.
HWND FrmSetup::FocusedControl() const {
  HWND focus = GetFocus();
  HWND combo = GetDlgItem(hwnd_, ids::PrgGroup);
  if (focus && GetParent(focus) == combo) return combo;
  return focus;
}

void FrmSetup::FocusSlot(int first) {
  for (int s : {first, slot::Next, slot::Back, slot::Cancel})
    if (images_.Focus(s)) return;
}

void FrmSetup::FocusPageField() {
  const int step = cx_.state.WizardStep;
  if (step == 2) {
    Focus(PageControl::CopyPath);
  } else if (step == 4) {
    HWND group = GetDlgItem(hwnd_, ids::PrgGroup);
    SetFocus(group);
    SendMessageW(group, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  } else {
    HWND focus = FocusedControl();
    if (!Usable(focus) || focus == hwnd_) FocusSlot(slot::Next);
  }
}

void FrmSetup::MoveFocus(bool backwards) {
  std::vector<HWND> order;
  for (int id : kTabOrder) {
    HWND control = id == ids::Lic_Accetto || id == ids::Lic_NonAccetto
                       ? GetDlgItem(GetDlgItem(hwnd_, ids::Accettazione), id)
                       : GetDlgItem(hwnd_, id);
    if (!Usable(control)) continue;
    // Of the two options only the chosen one is a stop; the arrows go between them.
    if (IsClass(control, WC_BUTTONW) &&
        (GetWindowLongW(control, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON &&
        SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED)
      continue;
    order.push_back(control);
  }
  for (int s : {slot::Back, slot::Next, slot::Cancel})
    if (HWND image = images_.Seen(s); Usable(image)) order.push_back(image);
  if (order.empty()) return;
  HWND focus = FocusedControl();
  size_t at = order.size();
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] == focus) at = i;
  size_t next = at == order.size() ? (backwards ? order.size() - 1 : 0)
                                   : (at + (backwards ? order.size() - 1 : 1)) % order.size();
  HWND target = order[next];
  SetFocus(target);
  if (target == GetDlgItem(hwnd_, ids::CopyPath)) SendMessageW(target, EM_SETSEL, 0, -1);
  if (target == GetDlgItem(hwnd_, ids::PrgGroup))
    SendMessageW(target, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

bool FrmSetup::OnKey(const MSG& msg) {
  HWND focus = FocusedControl();
  HWND combo = GetDlgItem(hwnd_, ids::PrgGroup);
  const bool listOpen = focus == combo && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0);
  HWND frame = GetDlgItem(hwnd_, ids::Accettazione);
  HWND options[] = {GetDlgItem(frame, ids::Lic_Accetto), GetDlgItem(frame, ids::Lic_NonAccetto)};

  if (msg.message == WM_KEYDOWN) {
    switch (msg.wParam) {
      case VK_TAB:
        if (Down(VK_CONTROL) || Down(VK_MENU)) return false;
        MoveFocus(Down(VK_SHIFT));
        return true;
      case VK_RETURN:
        if (listOpen) return false;  // the list takes its choice and closes
        if (focus && (IsImageButton(focus) || focus == GetDlgItem(hwnd_, ids::Browse) ||
                      focus == GetDlgItem(hwnd_, ids::ESCI_ORA))) {
          // Enter presses the button that has the focus, as Space does.
          if (Usable(focus))
            SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                         reinterpret_cast<LPARAM>(focus));
        } else if (HWND next = images_.Seen(slot::Next); Pressable(next)) {
          NextStep_Click();
        }
        return true;
      case VK_ESCAPE:
        if (listOpen) return false;
        // The cancel images' own handler; gone with them once the run has
        // passed the point of no return.
        if (Usable(images_.Seen(slot::Cancel))) EndSetup_Click();
        return true;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        for (int i = 0; i < 2; ++i) {
          if (focus != options[i]) continue;
          HWND other = options[1 - i];
          SetFocus(other);
          SendMessageW(other, BM_CLICK, 0, 0);
          return true;
        }
        return false;
    }
    return false;
  }
  // Mnemonics: Alt with the letter, or the letter alone away from the fields.
  if (msg.message == WM_SYSCHAR ||
      (msg.message == WM_CHAR && focus && !IsClass(focus, L"Edit") && focus != combo)) {
    const wchar_t key = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(msg.wParam)));
    for (HWND option : options) {
      const std::wstring caption = WindowText(option);
      const size_t amp = caption.find(L'&');
      if (!Usable(option) || amp == std::wstring::npos || amp + 1 >= caption.size() ||
          std::towlower(caption[amp + 1]) != key)
        continue;
      SetFocus(option);
      SendMessageW(option, BM_CLICK, 0, 0);
      return true;
    }
  }
  return false;
}

}  // namespace tessaro
