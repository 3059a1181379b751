#include "wizard/frm_quit_win.h"

#include <algorithm>

#include "texts.h"
#include "win32/form_window.h"
#include "win32/screen_scale_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"
#include "wizard/image_button_win.h"
#include "wizard/outline_win.h"
#include "wizard/quit.h"

namespace tessaro {

namespace {

// The dialog's background picture: 350 x 358 design pixels.
constexpr int kWidth = 350 * 15;
constexpr int kHeight = 358 * 15;
constexpr int kButtonsTop = 4680;
constexpr COLORREF kBack = RGB(18, 52, 96);
constexpr COLORREF kBand = RGB(64, 122, 178);

struct LabelDesign {
  int id;
  const char* caption;
  int left, top, width, height;
};

// Top to bottom; each label may grow down to the next one.
constexpr LabelDesign kLabels[] = {
    {ids::quit::Label5, texts::kQuitHeading, 150, 150, 2610, 255},
    {ids::quit::Label1, texts::kQuitNotComplete, 225, 690, 4500, 495},
    {ids::quit::Label2, texts::kQuitNotInstalled, 210, 1290, 4500, 525},
    {ids::quit::Label3, texts::kQuitRunAgain, 225, 2190, 4500, 495},
    {ids::quit::Label4, texts::kQuitChoose, 270, 3060, 4500, 495},
};

// Each button's images, topmost first. «Indietro» starts highlighted.
constexpr StackedImage kImages[] = {
    {ButtonImage::BackToSetup,
     {ids::quit::BackToSetup, texts::kQuitBack, ImageArrow::None, ImageLook::Normal,
      ids::quit::slot::Back},
     245,
     4680,
     1440,
     510,
     false},
    {ButtonImage::BackToSetup_Blu,
     {ids::quit::BackToSetup_Blu, texts::kQuitBack, ImageArrow::None, ImageLook::Blue,
      ids::quit::slot::Back},
     240,
     4680,
     1425,
     510,
     true},
    {ButtonImage::EndSetup,
     {ids::quit::EndSetup, texts::kQuitExit, ImageArrow::None, ImageLook::Normal,
      ids::quit::slot::Exit},
     1905,
     4695,
     1470,
     540,
     true},
    {ButtonImage::EndSetup_giallo,
     {ids::quit::EndSetup_giallo, texts::kQuitExit, ImageArrow::None, ImageLook::Yellow,
      ids::quit::slot::Exit},
     1890,
     4680,
     1455,
     510,
     true},
};

const FontSpec kText{L"Tahoma", FW_NORMAL, 0}, kHeading{L"Tahoma", FW_BOLD, 0};

FontSpec Scaled(FontSpec spec, int twips) {
  spec.height = Px(twips);
  return spec;
}

}  // namespace

void FrmQuit::ShowModal(HWND owner) {
  if (!Create(owner)) return;
  Form_Load();
  ui_.SetOwner(hwnd_);  // the «Uscita» box belongs to the dialog
  EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(images_.Seen(ids::quit::slot::Back));
  MSG msg;
  while (!done_) {
    int got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    DispatchFormMessage(msg);
  }
  // The owner comes back before the dialog goes, so Windows activates it.
  EnableWindow(owner, TRUE);
  ui_.SetOwner(owner);
  SetFormKeys(hwnd_, nullptr);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

bool FrmQuit::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClassOnce(ids::quit::kClass, WindowProc)) return false;

  int width = Px(kWidth), height = Px(kHeight);
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &over);
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  done_ = false;
  hwnd_ = CreateWindowExW(0, ids::quit::kClass, Widen(texts::kQuitHeading).c_str(),
                          WS_POPUP | WS_CLIPCHILDREN, x, y, width, height, owner, nullptr, instance,
                          this);
  if (!hwnd_) return false;

  for (const LabelDesign& d : kLabels) {
    CreateWindowExW(0, L"STATIC", Widen(d.caption).c_str(),
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX, Px(d.left),
                    Px(d.top), Px(d.width), Px(d.height), hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), instance, nullptr);
  }
  FitLabels();
  // One font for both buttons: the one their longer caption fits in.
  const FontSpec buttonSpec = Scaled(kHeading, 195);
  int size = buttonSpec.height;
  for (const StackedImage& d : kImages)
    size = std::min(size, FitText(fonts_, buttonSpec, Widen(d.button.name),
                                  Px(d.width - d.height / 2), Px(d.height), true)
                              .size);
  FontSpec spec = buttonSpec;
  spec.height = size;
  images_.Create(hwnd_, kImages, fonts_.Get(spec));
  SetFormKeys(hwnd_, this);
  return true;
}

// Each label as tall as its text, down to the next label (the last one down
// to the buttons); a smaller font only when that is not enough.
void FrmQuit::FitLabels() {
  for (size_t i = 0; i < std::size(kLabels); ++i) {
    const LabelDesign& d = kLabels[i];
    const int bottom = i + 1 < std::size(kLabels) ? kLabels[i + 1].top : kButtonsTop;
    const bool heading = d.id == ids::quit::Label5;
    HWND label = GetDlgItem(hwnd_, d.id);
    const int room = Px(bottom) - Px(d.top) - Px(45);
    TextFit fit = FitText(fonts_, Scaled(heading ? kHeading : kText, heading ? 210 : 195),
                          Widen(d.caption), Px(d.width), room, false);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fit.font), FALSE);
    const int height = std::min(std::max(fit.height, Px(d.height)), room);
    SetWindowPos(label, nullptr, 0, 0, Px(d.width), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FrmQuit::Form_Load() { SetWindowRgn(hwnd_, BuildQuitRegion(1.0f, 1.0f, 0, 0), TRUE); }

void FrmQuit::SetVisible(ButtonImage image, bool visible) { images_.SetVisible(image, visible); }

bool FrmQuit::OnKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  HWND back = images_.Seen(ids::quit::slot::Back), exit = images_.Seen(ids::quit::slot::Exit);
  const bool backLit = back == GetDlgItem(hwnd_, ids::quit::BackToSetup_Blu);
  const bool exitLit = exit == GetDlgItem(hwnd_, ids::quit::EndSetup_giallo);
  switch (msg.wParam) {
    case VK_ESCAPE:
      BackToSetup_Click();
      return true;
    case VK_RETURN:
      if (backLit || (!exitLit && GetFocus() != exit))
        BackToSetup_Click();
      else
        EndSetup_Click();
      return true;
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      // The other button takes the focus and lights up, as under the pointer.
      if (GetFocus() == exit) {
        SetFocus(back);
        BackToSetup_MouseMove();
      } else {
        SetFocus(exit);
        EndSetup_MouseMove();
      }
      return true;
  }
  return false;
}

void FrmQuit::Form_MouseDown() { DragByCaption(hwnd_); }

void FrmQuit::BackToSetup_Click() {
  BackToSetupClick(cx_);
  Unload();
}

void FrmQuit::EndSetup_Click() {
  ExitSetupClick(cx_);
  Unload();
}

LRESULT CALLBACK FrmQuit::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DispatchToForm(hwnd, msg, wp, lp, &FrmQuit::hwnd_, &FrmQuit::HandleMessage);
}

LRESULT FrmQuit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps{};
      HDC dc = msg == WM_PAINT ? BeginPaint(hwnd_, &ps) : reinterpret_cast<HDC>(wp);
      RECT r;
      GetClientRect(hwnd_, &r);
      SetDCBrushColor(dc, kBack);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      RECT band{r.left, Px(4500), r.right, r.bottom};
      SetDCBrushColor(dc, kBand);
      FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      if (msg == WM_PAINT) EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, kBack);
      SetDCBrushColor(dc, kBack);
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_DRAWITEM:
      DrawImageButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const WORD code = HIWORD(wp);
      if (code == kImageMouseMove) {
        if (id == ids::quit::BackToSetup) BackToSetup_MouseMove();
        if (id == ids::quit::EndSetup) EndSetup_MouseMove();
      } else if (code == kImageClicked) {
        if (id == ids::quit::BackToSetup || id == ids::quit::BackToSetup_Blu) BackToSetup_Click();
        if (id == ids::quit::EndSetup || id == ids::quit::EndSetup_giallo) EndSetup_Click();
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Form_MouseDown();
      return 0;
    case WM_MOUSEMOVE:
      if (PointerMoved(hwnd_, lp)) Form_MouseMove();
      return 0;
    case WM_CLOSE:
      // Alt+F4 on the dialog answers as «Indietro» would.
      BackToSetup_Click();
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tessaro
