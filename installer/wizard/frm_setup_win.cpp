#include "frm_setup_win.h"

#include <commctrl.h>

#include "control_ids.h"
#include "image_button_win.h"
#include "outline_win.h"
#include "setup_folder.h"
#include "startup.h"
#include "texts.h"
#include "win32/wide.h"
#include "win32/form_window.h"

namespace tessaro {

namespace {

// The wizard's background picture: 547 x 405 design pixels.
constexpr int kFormWidth = 547 * 15;
constexpr int kFormHeight = 405 * 15;

constexpr COLORREF kPanelTop = RGB(18, 52, 96);
constexpr COLORREF kPanelBottom = RGB(64, 122, 178);
constexpr COLORREF kPage = RGB(244, 246, 250);

HFONT MakeFont(int pixelHeight, int weight, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

void FillVertical(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  int height = r.bottom - r.top;
  for (int y = 0; y < height; y += 2) {
    auto mix = [&](int a, int b) { return a + (b - a) * y / (height ? height : 1); };
    GdiObject brush(CreateSolidBrush(RGB(mix(GetRValue(top), GetRValue(bottom)),
                                         mix(GetGValue(top), GetGValue(bottom)),
                                         mix(GetBValue(top), GetBValue(bottom)))));
    RECT band{r.left, r.top + y, r.right, r.top + y + 2};
    FillRect(dc, &band, static_cast<HBRUSH>(brush.Get()));
  }
}

struct ImageDesign {
  ButtonImage image;
  int id;
  const wchar_t* caption;
  ImageLook look;
  int left, top, width, height;  // twips
  bool visible;                   // at start-up
};

// Each slot's images, topmost first.
constexpr ImageDesign kImages[] = {
    {ButtonImage::Previous_Disabilitato, ids::Previous_Disabilitato, L"< Indietro",
     ImageLook::Disabled, 120, 4535, 1440, 510, true},
    {ButtonImage::Previous, ids::Previous, L"< Indietro", ImageLook::Normal, 120, 4530, 1440, 510,
     false},
    {ButtonImage::Previus_Blu, ids::Previus_Blu, L"< Indietro", ImageLook::Blue, 120, 4530, 1425,
     510, true},
    {ButtonImage::NextStep, ids::NextStep, L"Avanti >", ImageLook::Normal, 1830, 4545, 1440, 510,
     true},
    {ButtonImage::Avanti_Blu, ids::Avanti_Blu, L"Avanti >", ImageLook::Blue, 1830, 4545, 1455, 525,
     false},
    {ButtonImage::EndSetup, ids::EndSetup, L"Esci", ImageLook::Normal, 4845, 4560, 1470, 480,
     true},
    {ButtonImage::EndSetup_giallo, ids::EndSetup_giallo, L"Esci", ImageLook::Yellow, 4830, 4545,
     1455, 495, true},
};

int IdOf(ButtonImage image) {
  for (const ImageDesign& d : kImages)
    if (d.image == image) return d.id;
  return 0;
}

}  // namespace

bool FrmSetup::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = ids::kFrmSetupClass;
  RegisterClassExW(&wc);

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  int width = Px(kFormWidth), height = Px(kFormHeight);
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, ids::kFrmSetupClass,
                          Widen(texts::kWizardCaption).c_str(),
                          WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, width,
                          height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;

  textFont_.Reset(MakeFont(Px(195), FW_NORMAL, L"Tahoma"));
  titleFont_.Reset(MakeFont(Px(210), FW_BOLD, L"Tahoma"));
  nameFont_.Reset(MakeFont(Px(285), FW_BOLD, L"Arial"));
  buttonFont_.Reset(MakeFont(Px(195), FW_BOLD, L"Tahoma"));

  HWND title = AddControl(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, ids::Apptitle, 420, 180,
                          5925, 285);
  SetWindowTextW(title, Widen(texts::kAppTitleDesign).c_str());
  SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
  HWND name = AddControl(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE,
                         ids::AppName, 330, 570, 4215, 525);
  SendMessageW(name, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), FALSE);
  HWND welcome = AddControl(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                            ids::Welcome, 120, 1290, 4395, 3165);
  SendMessageW(welcome, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
  AddControl(L"STATIC", SS_OWNERDRAW | SS_NOTIFY, ids::ESCI_ORA, 7770, 120, 405, 360);
  // The title and the text pass the pointer on to the form (and the title
  // drags the window, as the background does).
  SetWindowSubclass(title, ForwardingProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(welcome, ForwardingProc, 2, reinterpret_cast<DWORD_PTR>(this));
  AddImages();
  AddPageControls();
  ui_.SetOwner(hwnd_);
  return true;
}

HWND FrmSetup::AddControl(const wchar_t* cls, DWORD style, int id, int left, int top, int width,
                          int height) {
  return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, Px(left), Px(top), Px(width),
                         Px(height), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void FrmSetup::AddImages() {
  HWND below = HWND_TOP;
  for (const ImageDesign& d : kImages) {
    RECT place{Px(d.left), Px(d.top), Px(d.left + d.width), Px(d.top + d.height)};
    HWND image = CreateImageButton(hwnd_, d.id, d.caption, d.look, place, d.visible,
                                   static_cast<HFONT>(buttonFont_.Get()));
    // Stack in table order: each image goes just below the one before it.
    SetWindowPos(image, below, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    below = image;
  }
}

void FrmSetup::LoadAndShow() {
  Form_Load();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
}

void FrmSetup::Form_Load() { FormLoad(cx_, *this); }

void FrmSetup::ApplyOutline() { SetWindowRgn(hwnd_, BuildSetupRegion(1.0f, 1.0f, 0, 0), TRUE); }

void FrmSetup::SetAppName(const std::string& caption) {
  SetDlgItemTextW(hwnd_, ids::AppName, Widen(caption).c_str());
}

void FrmSetup::SetAppTitle(const std::string& caption) {
  SetDlgItemTextW(hwnd_, ids::Apptitle, Widen(caption).c_str());
}

void FrmSetup::SetWelcome(const std::string& text) { SetText(PageControl::Welcome, text); }

void FrmSetup::SetVisible(ButtonImage image, bool visible) {
  HWND control = GetDlgItem(hwnd_, IdOf(image));
  if (control && (IsWindowVisible(control) != FALSE) != visible)
    ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

// A press of any mouse button drags the window, as its caption would.
void FrmSetup::Form_MouseDown() { DragByCaption(hwnd_); }

void FrmSetup::Form_MouseMove() { WizardPointerAtRest(*this, ui_, cx_.state.WizardStep); }
void FrmSetup::NextStep_MouseMove() { WizardPointerOnNext(*this); }
void FrmSetup::Previous_MouseMove() { WizardPointerOnPrevious(*this); }
void FrmSetup::EndSetup_MouseMove() { WizardPointerOnEndSetup(*this); }

void FrmSetup::NextStep_Click() { NextStepClick(cx_, *this); }
void FrmSetup::Previous_Click() { PreviousClick(cx_, *this); }

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
    case ids::Avanti_Blu: NextStep_Click(); break;
    case ids::Previous:
    case ids::Previus_Blu: Previous_Click(); break;
    case ids::EndSetup:
    case ids::EndSetup_giallo: EndSetup_Click(); break;
    default: break;  // the disabled Back image does nothing
  }
}

void FrmSetup::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillVertical(dc, client, kPanelTop, kPanelBottom);
  RECT page{Px(60), Px(1200), Px(4635), Px(4560)};
  GdiObject pageBrush(CreateSolidBrush(kPage));
  FillRect(dc, &page, static_cast<HBRUSH>(pageBrush.Get()));
  // A stack of discs on the right: the database being installed.
  GdiObject disc(CreateSolidBrush(RGB(226, 234, 244)));
  GdiObject edge(CreatePen(PS_SOLID, 2, RGB(12, 36, 70)));
  HGDIOBJ oldBrush = SelectObject(dc, disc.Get());
  HGDIOBJ oldPen = SelectObject(dc, edge.Get());
  for (int i = 2; i >= 0; --i) {
    int top = Px(1500 + i * 700);
    Ellipse(dc, Px(5400), top, Px(7500), top + Px(700));
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

void FrmSetup::DrawCloseImage(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  GdiObject red(CreateSolidBrush(RGB(196, 48, 40)));
  GdiObject white(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
  HGDIOBJ oldBrush = SelectObject(dc, red.Get());
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, white.Get());
  int m = (r.right - r.left) / 3;
  MoveToEx(dc, r.left + m, r.top + m, nullptr);
  LineTo(dc, r.right - m, r.bottom - m);
  MoveToEx(dc, r.right - m, r.top + m, nullptr);
  LineTo(dc, r.left + m, r.bottom - m);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

LRESULT CALLBACK FrmSetup::ForwardingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<FrmSetup*>(data);
  try {
    if (msg == WM_MOUSEMOVE) self->Form_MouseMove();  // Apptitle_ and Welcome_MouseMove
    if (id == 1 && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) {
      self->Form_MouseDown();  // Apptitle_MouseDown
      return 0;
    }
  } catch (...) {
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK FrmSetup::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DispatchToForm(hwnd, msg, wp, lp, &FrmSetup::hwnd_, &FrmSetup::HandleMessage);
}

LRESULT FrmSetup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
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
      if (item->CtlID == static_cast<UINT>(ids::ESCI_ORA)) DrawCloseImage(*item);
      if (item->CtlID == static_cast<UINT>(ids::PrgIco)) DrawGroupIcon(*item);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const WORD code = HIWORD(wp);
      if (id == ids::ESCI_ORA) {
        if (code == STN_CLICKED) EndSetup_Click();  // ESCI_ORA_Click
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
      Form_MouseMove();
      return 0;
    case WM_SETCURSOR:
      if (ui_.ShowBusyCursor()) return TRUE;
      break;
    case WM_CLOSE:
      Form_Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tessaro
