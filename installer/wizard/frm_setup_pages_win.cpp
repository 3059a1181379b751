// The pages' controls of FrmSetup: made hidden at their design positions and
// set by the page logic of pages.cpp through PagesView.
#include "wizard/frm_setup_win.h"

#include <commctrl.h>
#include <shlobj.h>

#include "texts.h"
#include "win32/progress_canvas_win.h"
#include "win32/screen_scale_win.h"
#include "win32/status_label_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"

namespace tessaro {

namespace {

constexpr COLORREF kPage = RGB(244, 246, 250);
constexpr COLORREF kPageText = RGB(20, 30, 50);
constexpr COLORREF kWarningText = RGB(176, 24, 24);

struct PageDesign {
  PageControl control;
  int id;
  const wchar_t* cls;
  DWORD style;
  int left, top, width, height;  // twips
};

// Design positions. The licence options lie inside their frame. The copy's
// status labels change with every block: status labels, not STATICs.
constexpr PageDesign kPageControls[] = {
    {PageControl::SelPath, ids::SelPath, L"STATIC", SS_LEFT | SS_NOPREFIX, 135, 1770, 4335, 795},
    {PageControl::lblStatus0, ids::lblStatus0, kStatusLabelClass, 0, 270, 2595, 4065, 255},
    {PageControl::PrgIco, ids::PrgIco, L"STATIC", SS_OWNERDRAW, 120, 2610, 480, 480},
    {PageControl::PrgGroup, ids::PrgGroup, L"COMBOBOX",
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 630, 2670, 3780, 315},
    {PageControl::Browse, ids::Browse, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 4020, 3120, 540, 420},
    {PageControl::ErroreSpazio, ids::ErroreSpazio, L"EDIT", ES_MULTILINE | ES_READONLY, 195, 3120,
     4005, 225},
    {PageControl::CopyPath, ids::CopyPath, L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 255,
     3150, 3630, 320},
    {PageControl::lblStatus1, ids::lblStatus1, kStatusLabelClass, 0, 270, 3400, 4065, 255},
    {PageControl::DeskShort, ids::DeskShort, L"BUTTON",
     BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | WS_TABSTOP, 465, 3420, 3615, 285},
    {PageControl::Accettazione, ids::Accettazione, L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, 120,
     3960, 4425, 495},
};

// The options inside the frame. The accepting one was designed 3000 wide,
// reaching under the other one: it ends where that begins.
constexpr int kOptionsTop = 180, kOptionsHeight = 255;
constexpr int kAcceptLeft = 60, kRefuseLeft = 1980, kRefuseWidth = 2380;
constexpr int kOptionGap = 60;

constexpr int kDroppedListTwips = 1800;  // the combo box's list below its field

int IdOf(PageControl control) {
  switch (control) {
    case PageControl::Welcome:
      return ids::Welcome;
    case PageControl::Lic_Accetto:
      return ids::Lic_Accetto;
    case PageControl::Lic_NonAccetto:
      return ids::Lic_NonAccetto;
    case PageControl::picStatus0:
      return ids::picStatus0;
    case PageControl::picStatus1:
      return ids::picStatus1;
    default:
      break;
  }
  for (const PageDesign& d : kPageControls)
    if (d.control == control) return d.id;
  return 0;
}

// Multi-line edit controls break lines only at CR LF.
std::wstring WithCrLf(const std::string& text) {
  std::wstring in = Widen(text), out;
  out.reserve(in.size() + in.size() / 16);
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == L'\n' && (i == 0 || in[i - 1] != L'\r')) out += L'\r';
    out += in[i];
    if (in[i] == L'\r' && (i + 1 == in.size() || in[i + 1] != L'\n')) out += L'\n';
  }
  return out;
}

void FillSolid(HDC dc, const RECT& area, COLORREF colour) {
  GdiObject brush(CreateSolidBrush(colour));
  FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
}

// The licence frame passes its options' colour requests on to the form and
// paints its inside in the page colour: under WS_CLIPCHILDREN nobody else does.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN)
    return SendMessageW(GetParent(hwnd), msg, wp, lp);
  if (msg == WM_MOUSEMOVE) {  // Accettazione_MouseMove
    POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    MapWindowPoints(hwnd, GetParent(hwnd), &at, 1);
    SendMessageW(GetParent(hwnd), WM_MOUSEMOVE, wp, MAKELPARAM(at.x, at.y));
  }
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    FillSolid(reinterpret_cast<HDC>(wp), r, kPage);
    return 1;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void FrmSetup::AddPageControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HFONT font = fonts_.Get(textSpec_);
  auto make = [&](HWND parent, const wchar_t* cls, DWORD style, int id, const Place& p,
                  int extraHeight, const char* caption) {
    places_[id] = p;
    HWND control =
        CreateWindowExW(0, cls, Widen(caption).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                        Px(p.left), Px(p.top), Px(p.width), Px(p.height + extraHeight), parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };
  RegisterStatusLabel();
  for (const PageDesign& d : kPageControls) {
    int extra = d.control == PageControl::PrgGroup ? kDroppedListTwips : 0;
    const char* caption = d.control == PageControl::Browse      ? "..."
                          : d.control == PageControl::DeskShort ? texts::kDeskShortCaption
                                                                : "";
    make(hwnd_, d.cls, d.style, d.id, {d.left, d.top, d.width, d.height}, extra, caption);
  }
  HWND frame = Ctl(PageControl::Accettazione);
  SetWindowSubclass(frame, FrameProc, kFrameSubclass, 0);
  make(frame, L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE, ids::Lic_Accetto,
       {kAcceptLeft, kOptionsTop, kRefuseLeft - kOptionGap - kAcceptLeft, kOptionsHeight}, 0,
       texts::kAcceptCaption);
  HWND refuse =
      make(frame, L"BUTTON", BS_AUTORADIOBUTTON | WS_VISIBLE, ids::Lic_NonAccetto,
           {kRefuseLeft, kOptionsTop, kRefuseWidth, kOptionsHeight}, 0, texts::kRefuseCaption);
  SendMessageW(refuse, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Ctl(PageControl::DeskShort), BM_SETCHECK, BST_CHECKED, 0);

  const struct {
    int id, left, top;
  } bars[] = {{ids::picStatus0, 255, 2820}, {ids::picStatus1, 240, 3660}};
  for (const auto& bar : bars) {
    places_[bar.id] = {bar.left, bar.top, 4095, 285};
    HWND box = CreateProgressBox(hwnd_, bar.id, Px(bar.left), Px(bar.top), Px(4095), Px(285));
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) | WS_CLIPSIBLINGS);
    // The percentage is written in the page's font, at the screen's scale.
    SetProgressBoxLook(box, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                       fonts_.Get(buttonSpec_));
    ShowWindow(box, SW_HIDE);
    bars_[bar.id - ids::picStatus0].emplace(box);
  }
  status_[0] = GetDlgItem(hwnd_, ids::lblStatus0);
  status_[1] = GetDlgItem(hwnd_, ids::lblStatus1);
  SetTimer(hwnd_, ids::tmrTime, 1000, nullptr);
}

HWND FrmSetup::Ctl(PageControl control) const {
  int id = IdOf(control);
  if (id == ids::Lic_Accetto || id == ids::Lic_NonAccetto)
    return GetDlgItem(GetDlgItem(hwnd_, ids::Accettazione), id);
  return GetDlgItem(hwnd_, id);
}

HBRUSH FrmSetup::PageColours(HWND control, HDC dc) {
  int id = GetDlgCtrlID(control);
  bool onPage = id == ids::Welcome || (id >= ids::Accettazione && id <= ids::lblStatus1);
  if (!onPage) return nullptr;
  SetTextColor(dc, id == ids::ErroreSpazio ? kWarningText : kPageText);
  SetBkColor(dc, kPage);
  SetDCBrushColor(dc, kPage);
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

// A program group: a folder with a small program window in front of it.
void FrmSetup::DrawGroupIcon(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  int w = r.right - r.left, h = r.bottom - r.top;
  FillSolid(dc, r, kPage);
  {
    GdiObject folder(CreateSolidBrush(RGB(236, 192, 72)));
    GdiObject edge(CreatePen(PS_SOLID, 1, RGB(120, 86, 20)));
    SelectedObject useBrush(dc, folder.Get());
    SelectedObject usePen(dc, edge.Get());
    Rectangle(dc, r.left + w / 16, r.top + h / 4, r.left + w / 2, r.top + h / 3);  // the tab
    Rectangle(dc, r.left + w / 16, r.top + h / 3 - 1, r.right - w / 16, r.bottom - h / 8);
  }
  RECT pane{r.left + w / 3, r.top + h / 2, r.right - w / 8, r.bottom - h / 16};
  FillSolid(dc, pane, RGB(255, 255, 255));
  RECT bar{pane.left, pane.top, pane.right, pane.top + (pane.bottom - pane.top) / 4};
  GdiObject title(CreateSolidBrush(RGB(18, 52, 96)));
  FillRect(dc, &bar, static_cast<HBRUSH>(title.Get()));
  FrameRect(dc, &pane, static_cast<HBRUSH>(title.Get()));
}

void FrmSetup::Show(PageControl control, bool visible) {
  if (control == PageControl::ErroreSpazio) {
    warningShown_ = visible;  // shown by the layout only with a text in it
  } else if (HWND c = Ctl(control)) {
    ShowWindow(c, visible ? SW_SHOWNA : SW_HIDE);
  }
  Relayout();
}

bool FrmSetup::IsShown(PageControl control) {
  if (control == PageControl::ErroreSpazio) return warningShown_;
  HWND c = Ctl(control);
  return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FrmSetup::SetText(PageControl control, const std::string& text) {
  HWND c = Ctl(control);
  if (!c) return;
  const bool boxText = control == PageControl::Welcome || control == PageControl::ErroreSpazio;
  SetWindowTextW(c, boxText ? WithCrLf(text).c_str() : Widen(text).c_str());
  // The summary is short: it gets a font that shows it whole. Anything else
  // in the box scrolls when it is long; the drive report comes by SetReport.
  if (control == PageControl::Welcome)
    welcomeText_ = cx_.state.WizardStep == 5 ? WelcomeText::Summary : WelcomeText::Scrolling;
  Relayout();
}

std::string FrmSetup::Text(PageControl control) {
  HWND c = Ctl(control);
  if (!c) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(c)) + 1, L'\0');
  int length = GetWindowTextW(c, text.data(), static_cast<int>(text.size()));
  return Narrow(text.data(), static_cast<size_t>(length > 0 ? length : 0));
}

void FrmSetup::SetTop(PageControl control, int twips) {
  auto place = places_.find(IdOf(control));
  if (place == places_.end()) return;
  place->second.top = twips;
  Relayout();
}

void FrmSetup::SetHeight(PageControl control, int twips) {
  auto place = places_.find(IdOf(control));
  if (place == places_.end()) return;
  place->second.height = twips;
  Relayout();
}

void FrmSetup::SetChecked(PageControl control, bool checked) {
  SendMessageW(Ctl(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool FrmSetup::IsChecked(PageControl control) {
  return SendMessageW(Ctl(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FrmSetup::ClearGroups() { SendMessageW(Ctl(PageControl::PrgGroup), CB_RESETCONTENT, 0, 0); }

void FrmSetup::AddGroup(const std::string& name) {
  SendMessageW(Ctl(PageControl::PrgGroup), CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(Widen(name).c_str()));
}

void FrmSetup::Focus(PageControl control) {
  HWND c = Ctl(control);
  SetFocus(c);
  if (control == PageControl::CopyPath) SendMessageW(c, EM_SETSEL, 0, -1);
}

void FrmSetup::SetReport(const std::string& text) {
  SetText(PageControl::Welcome, text);
  // Its figures must not break in mid-line.
  welcomeText_ = WelcomeText::Report;
  Relayout();
}
void FrmSetup::HideReport() { Show(PageControl::Welcome, false); }

void FrmSetup::SetWarning(int topTwips, const std::string& text) {
  SetTop(PageControl::ErroreSpazio, topTwips);
  SetText(PageControl::ErroreSpazio, text);
}

void FrmSetup::SetNextEnabled(bool enabled) {
  HWND next = GetDlgItem(hwnd_, ids::NextStep);
  EnableWindow(next, enabled);
  InvalidateRect(next, nullptr, FALSE);  // the disabled look
}

void FrmSetup::Browse_Click() {
  const std::wstring title = Widen(texts::kBrowseTitle);
  BROWSEINFOW info{};
  info.hwndOwner = hwnd_;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  ShellMemory<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
  if (!chosen.Get()) return;  // cancelled
  // The shell gives the path in memory of its own, however long it is.
  ShellMemory<wchar_t> path;
  if (SUCCEEDED(SHGetNameFromIDList(chosen.Get(), SIGDN_FILESYSPATH, path.Put())))
    SetText(PageControl::CopyPath, Narrow(path.Get(), wcslen(path.Get())));
}

}  // namespace tessaro
