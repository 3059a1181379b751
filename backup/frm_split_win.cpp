#include "frm_split_win.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "floppy_set.h"
#include "kvb_control_ids.h"
#include "kvb_startup.h"
#include "kvb_texts.h"
#include "set_label.h"
#include "win32/form_window.h"
#include "win32/screen_scale_win.h"
#include "win32/wide.h"

namespace tessaro {

namespace {

// The form's client area and its controls, in twips as designed.
constexpr int kClientWidth = 6270;
constexpr int kClientHeight = 1890;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 100;
constexpr const wchar_t* kAnimClass = L"TessaroKvbAnim";
constexpr int kProgramIcon = 1;  // drawn at build time

constexpr COLORREF kAnimBack = RGB(236, 240, 246);
// Where the two bars begin; their names sit to the left of them.
constexpr int kBarLeft = 750;

// One frame of the animation: a page of data travels from the document on
// the left to the floppy on the right, leaving a dotted trail.
void DrawAnimFrame(HDC dc, int left, int frame) {
  using kvb::kAnimFrameHeight;
  using kvb::kAnimFrameWidth;
  auto fill = [&](int x1, int y1, int x2, int y2, COLORREF c) {
    GdiObject brush(CreateSolidBrush(c));
    RECT r{left + x1, y1, left + x2, y2};
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
  };
  fill(0, 0, kAnimFrameWidth, kAnimFrameHeight, kAnimBack);
  // The document: a white sheet with ruled lines.
  fill(10, 4, 36, 36, RGB(96, 96, 96));
  fill(11, 5, 35, 35, RGB(255, 255, 255));
  for (int y = 10; y < 32; y += 5) fill(14, y, 32, y + 1, RGB(120, 140, 180));
  // The floppy: a dark case, its metal shutter and its label.
  fill(222, 4, 254, 36, RGB(28, 44, 96));
  fill(230, 4, 246, 15, RGB(184, 188, 196));
  fill(240, 6, 244, 13, RGB(28, 44, 96));
  fill(227, 21, 249, 35, RGB(250, 250, 240));
  if (frame >= kvb::kAnimStripFrames) return;
  // The travelling page and the trail it leaves.
  const int start = 44, end = 204;
  const int x = start + frame * (end - start - 12) / (kvb::kAnimStripFrames - 1);
  for (int dot = start; dot < x; dot += 8) fill(dot, 19, dot + 3, 22, RGB(130, 160, 210));
  fill(x, 12, x + 12, 28, RGB(40, 90, 170));
  fill(x + 2, 15, x + 10, 16, RGB(255, 255, 255));
  fill(x + 2, 19, x + 10, 20, RGB(255, 255, 255));
  fill(x + 2, 23, x + 8, 24, RGB(255, 255, 255));
}

// EnumWindows' callback: the facts of one top-level window. It always goes
// on, so every window is seen.
BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM list) {
  kvb::TopWindow w;
  w.visible = IsWindowVisible(hwnd) != 0;
  w.hasParent = GetParent(hwnd) != nullptr;
  w.hasOwner = GetWindowLongPtrW(hwnd, GWLP_HWNDPARENT) != 0;
  // Titles longer than 255 characters are cut, as the buffer of 256 does.
  wchar_t title[256];
  const int length = GetWindowTextW(hwnd, title, 256);
  if (length > 0) w.title = Narrow(title, static_cast<size_t>(length));
  reinterpret_cast<std::vector<kvb::TopWindow>*>(list)->push_back(std::move(w));
  return TRUE;
}

}  // namespace

bool FrmSplit::Create(HINSTANCE instance) {
  WindowClassLook look;
  look.icon = kProgramIcon;
  look.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!RegisterWindowClassOnce(kvb::ids::kFrmSplitClass, WindowProc, look) ||
      !RegisterWindowClassOnce(kAnimClass, AnimProc))
    return false;

  // A fixed single border: caption, close box and minimize button.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  hwnd_ = CreateWindowExW(0, kvb::ids::kFrmSplitClass, Widen(kvb_texts::kProgramTitle).c_str(),
                          style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                          nullptr, nullptr, instance, this);
  if (!hwnd_) return false;

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));

  // The frame holds the animation at 60, 150 twips inside it, as a container
  // does; it clips its child so that its own painting never covers it.
  HWND frame = AddControl(WC_BUTTONW, "", BS_GROUPBOX | WS_CLIPCHILDREN, kvb::ids::Frame1, 120, 0,
                          4065, 840);
  picAnim_ = AddControl(kAnimClass, "", 0, kvb::ids::picAnim, 60, 150, kvb::kAnimFrameWidth * 15,
                        kvb::kAnimFrameHeight * 15, frame);
  lblStatus_ =
      AddControl(WC_STATICW, "", SS_LEFT | SS_NOPREFIX, kvb::ids::lblStatus, 120, 870, 4065, 210);
  picStatus_[1] =
      CreateProgressBox(hwnd_, kvb::ids::picStatusTotal, Px(kBarLeft), Px(1095), Px(3435), Px(285));
  HWND label2 = AddControl(WC_STATICW, kvb_texts::kTotalLabel, SS_LEFT, kvb::ids::Label2, 120, 1170,
                           kBarLeft - 120, 210);
  picStatus_[0] = CreateProgressBox(hwnd_, kvb::ids::picStatusPartial, Px(kBarLeft), Px(1460),
                                    Px(3435), Px(285));
  HWND label1 = AddControl(WC_STATICW, kvb_texts::kPartialLabel, SS_LEFT, kvb::ids::Label1, 120,
                           1500, kBarLeft - 120, 210);
  FitBarLabels(label1, label2);
  MakeBackup_ = AddControl(WC_BUTTONW, kvb_texts::kMakeBackupCaption, BS_PUSHBUTTON | WS_TABSTOP,
                           kvb::ids::MakeBackup, 4470, 120, 1695, 435);
  RestoreBackup_ =
      AddControl(WC_BUTTONW, kvb_texts::kRestoreBackupCaption, BS_PUSHBUTTON | WS_TABSTOP,
                 kvb::ids::RestoreBackup, 4470, 660, 1695, 435);
  Chiudi_ = AddControl(WC_BUTTONW, kvb_texts::kCloseCaption, BS_PUSHBUTTON | WS_TABSTOP,
                       kvb::ids::Chiudi, 4470, 1350, 1695, 435);
  for (int i = 0; i < 2; ++i)
    statusCanvas_[i] = std::make_unique<Win32ProgressCanvas>(picStatus_[i]);
  BuildAnimationStrip();
  return picAnim_ && lblStatus_ && picStatus_[0] && picStatus_[1] && MakeBackup_ &&
         RestoreBackup_ && Chiudi_;
}

HWND FrmSplit::AddControl(const wchar_t* cls, const std::string& text, DWORD style, int id,
                          int left, int top, int width, int height, HWND parent) {
  HWND h = CreateWindowExW(
      0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, Px(left), Px(top), Px(width),
      Px(height), parent ? parent : hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (h && font_) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  if (h && cls == kAnimClass) SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return h;
}

void FrmSplit::FitBarLabels(HWND partial, HWND total) {
  // The bars' names have only the room left of the bars. A system font too
  // wide for them (a larger Windows font, or the fonts of another system)
  // gives these two labels a smaller size rather than a cut word; their
  // height is not limited.
  LOGFONTW lf{};
  if (!font_ || !GetObjectW(font_.Get(), sizeof(lf), &lf) || lf.lfHeight == 0) return;
  const int room = Px(kBarLeft - 120) - 1;
  TextFit both;
  for (const char* text : {kvb_texts::kPartialLabel, kvb_texts::kTotalLabel}) {
    TextFit fit = FitText(labelFonts_, lf, Widen(text), room, INT_MAX, true);
    if (!both.font || fit.size < both.size) both = fit;
  }
  for (HWND label : {partial, total})
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(both.font), FALSE);
}

void FrmSplit::BuildAnimationStrip() {
  // Every position has its frame; the one after the strip's 17 frames is the
  // empty scene.
  WindowDc screen(hwnd_);
  picBuffer_.Reset(CreateCompatibleDC(screen.Get()));
  stripBitmap_.Reset(CreateCompatibleBitmap(
      screen.Get(), kvb::kAnimFrameWidth * kvb::kAnimPositions, kvb::kAnimFrameHeight));
  if (!picBuffer_ || !stripBitmap_) return;
  SelectObject(picBuffer_.Get(), stripBitmap_.Get());  // for as long as the DC lives
  for (int frame = 0; frame < kvb::kAnimPositions; ++frame)
    DrawAnimFrame(picBuffer_.Get(), frame * kvb::kAnimFrameWidth, frame);
}

void FrmSplit::PaintAnimation(HWND box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(box, &ps);
  RECT client;
  GetClientRect(box, &client);
  if (picBuffer_) {
    // The picture keeps its 260 x 40 pixels; a larger box (high DPI) shows
    // it in the top left corner, as the design's picture box would.
    BitBlt(dc, 0, 0, kvb::kAnimFrameWidth, kvb::kAnimFrameHeight, picBuffer_.Get(),
           state_.animFrame * kvb::kAnimFrameWidth, 0, SRCCOPY);
    ExcludeClipRect(dc, 0, 0, kvb::kAnimFrameWidth, kvb::kAnimFrameHeight);
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(box, &ps);
}

void FrmSplit::LoadAndShow() {
  Form_Load();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  ui_.SetOwner(hwnd_);
}

// ------------------------------------------------------------- the handlers

void FrmSplit::Form_Load() {
  kvb::LoadSplitForm(*this, sys_, state_, dataFile_, previousInstance_);
}

bool FrmSplit::Form_QueryUnload() { return kvb::QueryClose(*this, sys_); }

void FrmSplit::MakeBackup_Click() {
  kvb::RunClick(*this, sys_, state_, [&] {
    kvb::MakeBackup(*this, sys_, state_, counters_, dataFile_, [] { return NewSetLabel(); });
  });
}

void FrmSplit::RestoreBackup_Click() {
  kvb::RunClick(*this, sys_, state_, [&] { kvb::RestoreBackup(*this, sys_, state_, counters_, dataFile_); });
}

void FrmSplit::Chiudi_Click() { kvb::ChiudiClick(*this, sys_); }

void FrmSplit::tmrTime_Timer() { kvb::AnimationTick(*this, state_); }

// ------------------------------------------------------------- the view

void FrmSplit::MoveTo(int leftTwips, int topTwips) {
  SetWindowPos(hwnd_, nullptr, Px(leftTwips), Px(topTwips), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FrmSplit::SetTopMost(bool on) {
  return SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW) != 0;
}

void FrmSplit::SetTimerEnabled(bool enabled) {
  if (enabled && !timerEnabled_)
    SetTimer(hwnd_, kTimerId, kTimerInterval, nullptr);
  else if (!enabled && timerEnabled_)
    KillTimer(hwnd_, kTimerId);
  timerEnabled_ = enabled;
}

void FrmSplit::SetButtonEnabled(kvb::SplitButton button, bool enabled) {
  EnableWindow(button == kvb::SplitButton::MakeBackup ? MakeBackup_ : RestoreBackup_, enabled);
}

void FrmSplit::SetCloseCaption(const std::string& caption) {
  SetWindowTextW(Chiudi_, Widen(caption).c_str());
}

void FrmSplit::ShowAnimFrame(int frame) {
  state_.animFrame = static_cast<int16_t>(frame);
  InvalidateRect(picAnim_, nullptr, FALSE);
  UpdateWindow(picAnim_);
}

ProgressCanvas& FrmSplit::StatusBar(int index) { return *statusCanvas_[index == 0 ? 0 : 1]; }

void FrmSplit::SetStatusText(const std::string& text) {
  SetWindowTextW(lblStatus_, Widen(text).c_str());
}

std::vector<kvb::TopWindow> FrmSplit::TopWindows() {
  std::vector<kvb::TopWindow> windows;
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// ------------------------------------------------------------- messages

LRESULT CALLBACK FrmSplit::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DispatchToForm(hwnd, msg, wp, lp, &FrmSplit::hwnd_, &FrmSplit::HandleMessage);
}

LRESULT CALLBACK FrmSplit::AnimProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* form = reinterpret_cast<FrmSplit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_PAINT && form) {
    form->PaintAnimation(hwnd);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;  // the paint covers everything
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT FrmSplit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kvb::ids::MakeBackup:
            MakeBackup_Click();
            return 0;
          case kvb::ids::RestoreBackup:
            RestoreBackup_Click();
            return 0;
          case kvb::ids::Chiudi:
            Chiudi_Click();
            return 0;
        }
      }
      break;
    case WM_TIMER:
      if (wp == kTimerId && timerEnabled_) tmrTime_Timer();
      return 0;
    case WM_SETCURSOR:
      // During an operation the hourglass shows over the whole window.
      if (ui_.ShowBusyCursor()) return TRUE;
      break;
    case WM_CLOSE:
      if (Form_QueryUnload()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tessaro
