#include "wizard/frm_setup_win.h"

#include <commctrl.h>

#include "settings/setup_folder.h"
#include "texts.h"
#include "win32/form_window.h"
#include "win32/screen_scale_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"
#include "wizard/image_button_win.h"
#include "wizard/outline_win.h"
#include "wizard/startup.h"
#include "wizard/wizard_picture_win.h"

namespace tessaro {

namespace {

// The wizard's background picture: 547 x 405 design pixels.
constexpr int kFormWidth = 547 * 15;
constexpr int kFormHeight = 405 * 15;

constexpr COLORREF kPanelTop = RGB(18, 52, 96);
constexpr COLORREF kPanelBottom = RGB(64, 122, 178);
constexpr COLORREF kPage = RGB(244, 246, 250);

constexpr int kProgramIcon = 1;  // drawn at build time

// Each slot's images, topmost first.
constexpr StackedImage kImages[] = {
    {ButtonImage::Previous_Disabilitato,
     {ids::Previous_Disabilitato, "Indietro", ImageArrow::Back, ImageLook::Disabled,
      ids::slot::Back},
     120,
     4535,
     1440,
     510,
     true},
    {ButtonImage::Previous,
     {ids::Previous, "Indietro", ImageArrow::Back, ImageLook::Normal, ids::slot::Back},
     120,
     4530,
     1440,
     510,
     false},
    {ButtonImage::Previus_Blu,
     {ids::Previus_Blu, "Indietro", ImageArrow::Back, ImageLook::Blue, ids::slot::Back},
     120,
     4530,
     1425,
     510,
     true},
    {ButtonImage::NextStep,
     {ids::NextStep, "Avanti", ImageArrow::Forward, ImageLook::Normal, ids::slot::Next},
     1830,
     4545,
     1440,
     510,
     true},
    {ButtonImage::Avanti_Blu,
     {ids::Avanti_Blu, "Avanti", ImageArrow::Forward, ImageLook::Blue, ids::slot::Next},
     1830,
     4545,
     1455,
     525,
     false},
    {ButtonImage::EndSetup,
     {ids::EndSetup, "Esci", ImageArrow::None, ImageLook::Normal, ids::slot::Cancel},
     4845,
     4560,
     1470,
     480,
     true},
    {ButtonImage::EndSetup_giallo,
     {ids::EndSetup_giallo, "Esci", ImageArrow::None, ImageLook::Yellow, ids::slot::Cancel},
     4830,
     4545,
     1455,
     495,
     true},
};

void FillVertical(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  int height = r.bottom - r.top;
  for (int y = 0; y < height; y += 2) {
    auto mix = [&](int a, int b) { return a + (b - a) * y / (height ? height : 1); };
    SetDCBrushColor(
        dc, RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                mix(GetBValue(top), GetBValue(bottom))));
    RECT band{r.left, r.top + y, r.right, r.top + y + 2};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

}  // namespace

bool FrmSetup::Create(HINSTANCE instance) {
  WindowClassLook look;
  look.icon = kProgramIcon;
  if (!RegisterWindowClassOnce(ids::kFrmSetupClass, WindowProc, look)) return false;

  int width = Px(kFormWidth), height = Px(kFormHeight);
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, ids::kFrmSetupClass,
                          Widen(texts::kWizardCaption).c_str(),
                          WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, width,
                          height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  // A window without a caption gets its icon from the class only in some
  // places; the taskbar and Alt+Tab ask the window.
  smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon))));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));

  textSpec_ = {L"Tahoma", FW_NORMAL, Px(195)};
  titleSpec_ = {L"Tahoma", FW_BOLD, Px(210)};
  nameSpec_ = {L"Arial", FW_BOLD, Px(285)};
  buttonSpec_ = {L"Tahoma", FW_BOLD, Px(195)};

  HWND title = AddControl(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, ids::Apptitle,
                          {420, 180, 5925, 285});
  SetWindowTextW(title, Widen(texts::kAppTitleDesign).c_str());
  UseFont(title, fonts_.Get(titleSpec_));
  HWND name = AddControl(L"STATIC", SS_LEFT | SS_NOPREFIX, ids::AppName, {330, 570, 4215, 525});
  UseFont(name, fonts_.Get(nameSpec_));
  places_[ids::Welcome] = {120, 1290, 4395, 3165};
  MakeWelcome(false);
  // The small close image; a button for the keyboard's and the screen
  // reader's sake, drawn as the red disc of the design.
  HWND close = AddControl(WC_BUTTONW, BS_OWNERDRAW, ids::ESCI_ORA, {7770, 120, 405, 360});
  SetWindowTextW(close, L"Esci");
  SetWindowSubclass(close, ForwardingProc, kCloseSubclass, reinterpret_cast<DWORD_PTR>(this));
  // The title passes the pointer on to the form, and drags the window as
  // the background does.
  SetWindowSubclass(title, ForwardingProc, kTitleSubclass, reinterpret_cast<DWORD_PTR>(this));
  AddImages();
  AddPageControls();
  ui_.SetOwner(hwnd_);
  SetFormKeys(hwnd_, this);
  laidOut_ = true;
  Relayout();
  return true;
}

HWND FrmSetup::AddControl(const wchar_t* cls, DWORD style, int id, const Place& p) {
  places_[id] = p;
  return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, Px(p.left),
                         Px(p.top), Px(p.width), Px(p.height), hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The Welcome box with or without its scroll bar: a text box keeps the scroll
// bar it was made with (it shows it again, disabled, on every new text), so
// the box is made afresh when its text comes to need one or not.
void FrmSetup::MakeWelcome(bool scrollBar) {
  HWND old = GetDlgItem(hwnd_, ids::Welcome);
  std::wstring text = old ? WindowText(old) : std::wstring();
  const bool visible = !old || (GetWindowLongW(old, GWL_STYLE) & WS_VISIBLE);
  HFONT font =
      old ? reinterpret_cast<HFONT>(SendMessageW(old, WM_GETFONT, 0, 0)) : fonts_.Get(textSpec_);
  RECT r = PxRect(120, 1290, 4395, 3165);
  if (old) {
    GetWindowRect(old, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  }
  const bool focused = old && GetFocus() == old;
  HWND welcome = CreateWindowExW(0, L"EDIT", text.c_str(),
                                 WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_MULTILINE |
                                     ES_READONLY | ES_AUTOVSCROLL | (scrollBar ? WS_VSCROLL : 0),
                                 r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(welcome, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The text passes the pointer on to the form.
  SetWindowSubclass(welcome, ForwardingProc, kWelcomeSubclass, reinterpret_cast<DWORD_PTR>(this));
  // Same place in the z order and the same id: nothing else notices.
  SetWindowPos(welcome, old ? old : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (old) DestroyWindow(old);
  SetWindowLongPtrW(welcome, GWLP_ID, ids::Welcome);
  if (visible) ShowWindow(welcome, SW_SHOWNA);
  if (focused) SetFocus(welcome);
}

void FrmSetup::AddImages() {
  for (const StackedImage& d : kImages) places_[d.button.id] = {d.left, d.top, d.width, d.height};
  images_.Create(hwnd_, kImages, fonts_.Get(buttonSpec_));
}

void FrmSetup::LoadAndShow() {
  Form_Load();
  Relayout();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  FocusSlot(ids::slot::Next);
}

void FrmSetup::Form_Load() { FormLoad(cx_, *this); }

void FrmSetup::ApplyOutline() { SetWindowRgn(hwnd_, BuildSetupRegion(1.0f, 1.0f, 0, 0), TRUE); }

void FrmSetup::SetAppName(const std::string& caption) {
  SetDlgItemTextW(hwnd_, ids::AppName, Widen(caption).c_str());
  // The picture shows the name too.
  RECT picture = PxRect(kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight);
  InvalidateRect(hwnd_, &picture, FALSE);
  Relayout();
}

void FrmSetup::SetAppTitle(const std::string& caption) {
  SetDlgItemTextW(hwnd_, ids::Apptitle, Widen(caption).c_str());
  Relayout();
}

void FrmSetup::SetWelcome(const std::string& text) { SetText(PageControl::Welcome, text); }

void FrmSetup::SetVisible(ButtonImage image, bool visible) { images_.SetVisible(image, visible); }

// A press of any mouse button drags the window, as its caption would.
void FrmSetup::Form_MouseDown() { DragByCaption(hwnd_); }

void FrmSetup::Form_MouseMove() { WizardPointerAtRest(*this, ui_, cx_.state.WizardStep); }
void FrmSetup::NextStep_MouseMove() { WizardPointerOnNext(*this); }
void FrmSetup::Previous_MouseMove() { WizardPointerOnPrevious(*this); }
void FrmSetup::EndSetup_MouseMove() { WizardPointerOnEndSetup(*this); }

// After a page change the focus goes to the page's field, or stays where it
// was when that is still there.
void FrmSetup::NextStep_Click() {
  NextStepClick(cx_, *this);
  FocusPageField();
}

void FrmSetup::Previous_Click() {
  PreviousClick(cx_, *this);
  FocusPageField();
}

// Leaving asks first; an exit during the copy undoes it.
void FrmSetup::EndSetup_Click() { CancelSetup(cx_, *this); }

// Form_Unload: the window stays unless the user confirms the exit.
void FrmSetup::Form_Close() { CloseRequested(cx_, *this); }

void FrmSetup::OnImage(int id, WORD code) {
  if (code == kImageMouseMove) {
    if (id == ids::NextStep) NextStep_MouseMove();
    if (id == ids::Previous) Previous_MouseMove();
    if (id == ids::EndSetup) EndSetup_MouseMove();
    return;
  }
  if (code != kImageClicked) return;
  switch (id) {
    case ids::NextStep:
    case ids::Avanti_Blu:
      NextStep_Click();
      break;
    case ids::Previous:
    case ids::Previus_Blu:
      Previous_Click();
      break;
    case ids::EndSetup:
    case ids::EndSetup_giallo:
      EndSetup_Click();
      break;
    default:
      break;  // the disabled Back image does nothing
  }
}

void FrmSetup::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillVertical(dc, client, kPanelTop, kPanelBottom);
  RECT page = PxRect(60, 1200, 4575, 3360);
  SetDCBrushColor(dc, kPage);
  FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  DrawWizardPicture(dc, PxRect(kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight),
                    Widen(cx_.pkg().AppShortName), fonts_);
}

void FrmSetup::DrawCloseImage(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  // The header's background shows around the disc.
  POINT origin{0, 0};
  MapWindowPoints(item.hwndItem, hwnd_, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  Paint(dc);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  GdiObject red(CreateSolidBrush(RGB(196, 48, 40)));
  GdiObject white(CreatePen(PS_SOLID, std::max(2, Px(30)), RGB(255, 255, 255)));
  {
    SelectedObject brush(dc, red.Get());
    SelectedObject pen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
  }
  SelectedObject pen(dc, white.Get());
  int m = (r.right - r.left) / 3;
  MoveToEx(dc, r.left + m, r.top + m, nullptr);
  LineTo(dc, r.right - m, r.bottom - m);
  MoveToEx(dc, r.right - m, r.top + m, nullptr);
  LineTo(dc, r.left + m, r.bottom - m);
  if (item.itemState & ODS_FOCUS) {
    RECT mark = r;
    InflateRect(&mark, -1, -1);
    DrawFocusRect(dc, &mark);
  }
}

LRESULT CALLBACK FrmSetup::ForwardingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<FrmSetup*>(data);
  if (id == kCloseSubclass && msg == WM_ERASEBKGND) return 1;
  try {
    // Apptitle_ and Welcome_MouseMove
    if (msg == WM_MOUSEMOVE && id != kCloseSubclass && PointerMoved(hwnd, lp))
      self->Form_MouseMove();
    if (id == kTitleSubclass &&
        (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) {
      self->Form_MouseDown();  // Apptitle_MouseDown
      return 0;
    }
  } catch (...) {
    NoteHandlerFailure(hwnd, msg);
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ForwardingProc, id);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK FrmSetup::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DispatchToForm(hwnd, msg, wp, lp, &FrmSetup::hwnd_, &FrmSetup::HandleMessage);
}

LRESULT FrmSetup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      if (HBRUSH page = PageColours(reinterpret_cast<HWND>(lp), dc))
        return reinterpret_cast<LRESULT>(page);
      // Labels are transparent: the form's background goes under their text.
      HWND label = reinterpret_cast<HWND>(lp);
      POINT origin{0, 0};
      MapWindowPoints(label, hwnd_, &origin, 1);
      POINT old;
      OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
      Paint(dc);
      SetViewportOrgEx(dc, old.x, old.y, nullptr);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_CTLCOLORBTN:
      if (HBRUSH page = PageColours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)))
        return reinterpret_cast<LRESULT>(page);
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (DrawImageButton(*item)) return TRUE;
      if (item->CtlID == static_cast<UINT>(ids::ESCI_ORA)) DrawCloseImage(*item);
      if (item->CtlID == static_cast<UINT>(ids::PrgIco)) DrawGroupIcon(*item);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const WORD code = HIWORD(wp);
      if (id == ids::ESCI_ORA) {
        if (code == BN_CLICKED) EndSetup_Click();  // ESCI_ORA_Click
      } else if (id == ids::Browse) {
        if (code == BN_CLICKED) Browse_Click();
      } else if (id >= ids::Previous_Disabilitato && id <= ids::EndSetup_giallo && lp != 0) {
        OnImage(id, code);
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == static_cast<WPARAM>(ids::tmrTime)) tmrTime_Timer();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Form_MouseDown();
      return 0;
    case WM_MOUSEMOVE:
      if (PointerMoved(hwnd_, lp)) Form_MouseMove();
      return 0;
    case WM_SETCURSOR:
      if (ui_.ShowBusyCursor()) return TRUE;
      break;
    case WM_CLOSE:
      Form_Close();
      return 0;
    case WM_ACTIVATE:
      // A plain window forgets its focused control when another window (a
      // message box, the quit dialog) has been in front: keep it.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        savedFocus_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
      } else if (savedFocus_ && IsWindow(savedFocus_) && IsWindowVisible(savedFocus_) &&
                 IsWindowEnabled(savedFocus_)) {
        SetFocus(savedFocus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      SetFormKeys(hwnd_, nullptr);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tessaro
