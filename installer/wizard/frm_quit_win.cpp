#include "frm_quit_win.h"

#include "control_ids.h"
#include "image_button_win.h"
#include "outline_win.h"
#include "quit.h"
#include "texts.h"
#include "win32/wide.h"
#include "win32/form_window.h"

namespace tessaro {

namespace {

// The dialog's background picture: 350 x 358 design pixels.
constexpr int kWidth = 350 * 15;
constexpr int kHeight = 358 * 15;
constexpr COLORREF kBack = RGB(18, 52, 96);
constexpr COLORREF kBand = RGB(64, 122, 178);

struct LabelDesign {
  int id;
  const char* caption;
  int left, top, width, height;
};

constexpr LabelDesign kLabels[] = {
    {ids::quit::Label5, texts::kQuitHeading, 150, 150, 2610, 255},
    {ids::quit::Label1, texts::kQuitNotComplete, 225, 690, 4500, 495},
    {ids::quit::Label2, texts::kQuitNotInstalled, 210, 1290, 4500, 525},
    {ids::quit::Label3, texts::kQuitRunAgain, 225, 2190, 4500, 495},
    {ids::quit::Label4, texts::kQuitChoose, 270, 3060, 4500, 495},
};

struct ImageDesign {
  ButtonImage image;
  int id;
  const char* caption;
  ImageLook look;
  int left, top, width, height;
  bool visible;  // when the dialog opens: «Indietro» starts highlighted
};

// Each button's images, topmost first.
constexpr ImageDesign kImages[] = {
    {ButtonImage::BackToSetup, ids::quit::BackToSetup, texts::kQuitBack, ImageLook::Normal, 245,
     4680, 1440, 510, false},
    {ButtonImage::BackToSetup_Blu, ids::quit::BackToSetup_Blu, texts::kQuitBack, ImageLook::Blue,
     240, 4680, 1425, 510, true},
    {ButtonImage::EndSetup, ids::quit::EndSetup, texts::kQuitExit, ImageLook::Normal, 1905, 4695,
     1470, 540, true},
    {ButtonImage::EndSetup_giallo, ids::quit::EndSetup_giallo, texts::kQuitExit, ImageLook::Yellow,
     1890, 4680, 1455, 510, true},
};

HFONT MakeFont(int pixelHeight, int weight) {
  return CreateFontW(-pixelHeight, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                     CLEARTYPE_QUALITY, 0, L"Tahoma");
}

}  // namespace

void FrmQuit::ShowModal(HWND owner) {
  if (!Create(owner)) return;
  Form_Load();
  ui_.SetOwner(hwnd_);  // the «Uscita» box belongs to the dialog
  EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (!done_) {
    int got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // The owner comes back before the dialog goes, so Windows activates it.
  EnableWindow(owner, TRUE);
  ui_.SetOwner(owner);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

bool FrmQuit::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = ids::quit::kClass;
  RegisterClassExW(&wc);  // fails harmlessly once registered

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
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

  textFont_.Reset(MakeFont(Px(195), FW_NORMAL));
  headingFont_.Reset(MakeFont(Px(210), FW_BOLD));
  buttonFont_.Reset(MakeFont(Px(195), FW_BOLD));
  for (const LabelDesign& d : kLabels) {
    HWND label = CreateWindowExW(
        0, L"STATIC", Widen(d.caption).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
        Px(d.left), Px(d.top), Px(d.width), Px(d.height), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), instance, nullptr);
    GdiObject& font = d.id == ids::quit::Label5 ? headingFont_ : textFont_;
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  }
  HWND below = HWND_TOP;
  for (const ImageDesign& d : kImages) {
    RECT place{Px(d.left), Px(d.top), Px(d.left + d.width), Px(d.top + d.height)};
    HWND image = CreateImageButton(hwnd_, d.id, Widen(d.caption).c_str(), d.look, place, d.visible,
                                   static_cast<HFONT>(buttonFont_.Get()));
    SetWindowPos(image, below, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    below = image;
  }
  return true;
}

void FrmQuit::Form_Load() { SetWindowRgn(hwnd_, BuildQuitRegion(1.0f, 1.0f, 0, 0), TRUE); }

void FrmQuit::SetVisible(ButtonImage image, bool visible) {
  for (const ImageDesign& d : kImages) {
    if (d.image != image) continue;
    HWND control = GetDlgItem(hwnd_, d.id);
    if (control && (IsWindowVisible(control) != FALSE) != visible)
      ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  }
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
      Form_MouseMove();
      return 0;
    case WM_CLOSE:
      // Alt+F4 on the dialog answers as «Indietro» would.
      BackToSetup_Click();
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tessaro
