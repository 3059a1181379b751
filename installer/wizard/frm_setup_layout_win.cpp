// The wizard's layout: every control at its design place (or where the pages
// put it), as tall as its measured text needs, and in a smaller font only when
// its room below runs out. Where the design lets two controls overlap, one of
// them gives way: the summary's text box starts below its instruction, and the
// drive warning goes right under the drive report instead of over it.
#include <algorithm>

#include "win32/screen_scale_win.h"
#include "wizard/control_ids.h"
#include "wizard/frm_setup_win.h"
#include "wizard/image_button_win.h"

namespace tessaro {

namespace {

constexpr int kGapTwips = 45;
constexpr int kPanelTop = 1200;       // the light page panel
constexpr int kContentBottom = 4500;  // just above the button images

int Gap() { return Px(kGapTwips); }

RECT RectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Visible(HWND control) {
  return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The width a text box breaks its lines at, and what its box adds around
// the lines' height.
int BoxTextWidth(HWND box, int boxWidth, bool scrollBar) {
  DWORD margins = static_cast<DWORD>(SendMessageW(box, EM_GETMARGINS, 0, 0));
  return boxWidth - LOWORD(margins) - HIWORD(margins) -
         (scrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}
int BoxSlack() { return Px(30); }

}  // namespace

bool FrmSetup::WelcomeShown() const { return Visible(GetDlgItem(hwnd_, ids::Welcome)); }

void FrmSetup::Move(HWND control, const RECT& r) {
  if (!control) return;
  RECT now = RectOf(control);
  if (EqualRect(&now, &r)) return;
  SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(control, nullptr, TRUE);
}

// A label (or a check box's caption) at its place, as tall as its text,
// within the room that ends at `roomBottom`.
void FrmSetup::FitLabel(HWND label, const FontSpec& base, const Place& place, int roomBottom,
                        bool oneLine) {
  if (!label) return;
  const int top = Px(place.top);
  const int room = std::max(roomBottom - top, 1);
  wchar_t cls[16] = {};
  GetClassNameW(label, cls, 15);
  const int width = Px(place.width) - (_wcsicmp(cls, L"Button") == 0 ? CheckBoxAllowance() : 0);
  TextFit fit = FitText(fonts_, base, WindowText(label), width, room, oneLine);
  UseFont(label, fit.font);
  const int height = oneLine ? std::min(Px(place.height), room)
                             : std::min(std::max(fit.height, Px(place.height)), room);
  Move(label, {Px(place.left), top, Px(place.left) + Px(place.width), top + height});
}

void FrmSetup::FitOptions() {
  HWND frame = GetDlgItem(hwnd_, ids::Accettazione);
  const HWND options[] = {GetDlgItem(frame, ids::Lic_Accetto),
                          GetDlgItem(frame, ids::Lic_NonAccetto)};
  const int room =
      Px(places_[ids::Accettazione].height) - Px(places_[ids::Lic_Accetto].top) - Gap();
  // Both options in one font: the one the longer caption needs.
  int size = textSpec_.height;
  for (HWND option : options) {
    const Place& p = places_[GetDlgCtrlID(option)];
    size = std::min(size, FitText(fonts_, textSpec_, WindowText(option),
                                  Px(p.width) - CheckBoxAllowance(), room, false)
                              .size);
  }
  FontSpec spec = textSpec_;
  spec.height = size;
  HFONT font = fonts_.Get(spec);
  // The frame too, though it has no caption: a themed option paints its
  // parent's background first, and Wine's frame leaves its own font in the
  // options' device context.
  UseFont(frame, font);
  for (HWND option : options) {
    const Place& p = places_[GetDlgCtrlID(option)];
    UseFont(option, font);
    SIZE need = MeasureText(font, WindowText(option), Px(p.width) - CheckBoxAllowance(), false);
    const int height = std::min(std::max<int>(need.cy, Px(p.height)), room);
    Move(option, {Px(p.left), Px(p.top), Px(p.left + p.width), Px(p.top) + height});
  }
}

// The Welcome box within `box`: its font, its scroll bar, and for the drive
// report a height no more than its text's. `bottom` gets the box's bottom.
void FrmSetup::PlaceWelcome(const RECT& box, int& bottom) {
  HWND welcome = GetDlgItem(hwnd_, ids::Welcome);
  const std::wstring text = WindowText(welcome);
  const int width = box.right - box.left;
  const int room = box.bottom - box.top;
  // Below the report there must be room for the warning, if there is one.
  int warning = 0;
  HWND warningBox = GetDlgItem(hwnd_, ids::ErroreSpazio);
  if (welcomeText_ == WelcomeText::Report && warningShown_ &&
      GetWindowTextLengthW(warningBox) > 0) {
    const int warningWidth = BoxTextWidth(warningBox, Px(places_[ids::ErroreSpazio].width), false);
    warning = MeasureText(fonts_.Get(textSpec_), WindowText(warningBox), warningWidth, false).cy +
              BoxSlack() + Gap();
  }
  HFONT font = fonts_.Get(textSpec_);
  bool scrollBar = false;
  int height = room;
  const int lineWidth = BoxTextWidth(welcome, width, false);
  if (welcomeText_ == WelcomeText::Scrolling) {
    scrollBar = MeasureText(font, text, lineWidth, false).cy + BoxSlack() > room;
  } else {
    // The report's and the summary's lines whole, and the whole text in view.
    const int smallest = std::max(1, textSpec_.height * 2 / 3);
    bool fits = false;
    for (int size = textSpec_.height; size >= smallest && !fits; --size) {
      FontSpec spec = textSpec_;
      spec.height = size;
      font = fonts_.Get(spec);
      const int need = MeasureText(font, text, lineWidth, false).cy + BoxSlack();
      const bool whole = welcomeText_ != WelcomeText::Report || WidestLine(font, text) <= lineWidth;
      fits = whole && need + warning <= room;
      if (welcomeText_ == WelcomeText::Report) height = std::min(room, need);
    }
    scrollBar = !fits;
    if (scrollBar) height = room - warning;
  }
  const bool hasScrollBar = (GetWindowLongW(welcome, GWL_STYLE) & WS_VSCROLL) != 0;
  if (scrollBar != hasScrollBar) {
    MakeWelcome(scrollBar);
    welcome = GetDlgItem(hwnd_, ids::Welcome);
  }
  UseFont(welcome, font);
  Move(welcome, {box.left, box.top, box.right, box.top + height});
  bottom = box.top + height;
}

// The drive warning: right under the report, or at the top of the page when
// there is no report; shown only with a text, so that an empty box never
// blanks out part of the page.
void FrmSetup::PlaceWarning(int top) {
  HWND warning = GetDlgItem(hwnd_, ids::ErroreSpazio);
  const bool shown = warningShown_ && GetWindowTextLengthW(warning) > 0;
  if (shown) {
    const Place& p = places_[ids::ErroreSpazio];
    const int width = BoxTextWidth(warning, Px(p.width), false);
    TextFit fit = FitText(fonts_, textSpec_, WindowText(warning), width,
                          Px(kContentBottom) - top - BoxSlack(), false);
    UseFont(warning, fit.font);
    Move(warning, {Px(p.left), top, Px(p.left + p.width), top + fit.height + BoxSlack()});
  }
  if (Visible(warning) != shown) ShowWindow(warning, shown ? SW_SHOWNA : SW_HIDE);
}

void FrmSetup::Relayout() {
  if (!laidOut_) return;
  auto item = [&](int id) { return GetDlgItem(hwnd_, id); };
  auto topOf = [&](int id) { return Px(places_[id].top); };

  // The header: the title above the name, the name above the page panel.
  FitLabel(item(ids::Apptitle), titleSpec_, places_[ids::Apptitle], topOf(ids::AppName), false);
  FitLabel(item(ids::AppName), nameSpec_, places_[ids::AppName], Px(kPanelTop) - Gap(), false);

  // The instruction, down to the first field below it.
  const Place& sel = places_[ids::SelPath];
  int selRoom = Px(kContentBottom);
  for (int id : {ids::CopyPath, ids::Browse, ids::PrgIco, ids::PrgGroup, ids::DeskShort})
    if (Visible(item(id)) && topOf(id) > Px(sel.top))
      selRoom = std::min(selRoom, topOf(id) - Gap());
  const bool selShown = Visible(item(ids::SelPath));
  const bool welcomeShown = WelcomeShown();
  // With the text box under it too, the box keeps at least a third of the page.
  if (selShown && welcomeShown && selRoom == Px(kContentBottom)) selRoom -= Px(1000);
  FitLabel(item(ids::SelPath), textSpec_, sel, selRoom, false);

  // The text box; on the summary page it begins below the instruction.
  const Place& w = places_[ids::Welcome];
  RECT box = PxRect(w.left, w.top, w.width, w.height);
  box.bottom = std::min<int>(box.bottom, Px(kContentBottom));
  RECT selRect = RectOf(item(ids::SelPath));
  if (selShown && selRect.top < box.bottom && selRect.bottom > box.top)
    box.top = selRect.bottom + Gap();
  int welcomeBottom = box.top;
  PlaceWelcome(box, welcomeBottom);
  PlaceWarning(welcomeShown ? welcomeBottom + Gap() : Px(w.top));

  // The fields: as tall as a line of their font needs.
  HWND path = item(ids::CopyPath);
  const Place& cp = places_[ids::CopyPath];
  const int pathHeight = std::max(Px(cp.height), LineHeight(fonts_.Get(textSpec_)) + Px(90));
  // The field reaches to a gap before the browse button: on 64-bit Windows
  // the proposed folder lies under "Program Files (x86)", wider at 144 dpi
  // than the field as designed.
  const int pathRight = std::max(Px(cp.left + cp.width), Px(places_[ids::Browse].left) - Gap());
  Move(path, {Px(cp.left), Px(cp.top), pathRight, Px(cp.top) + pathHeight});
  FitLabel(item(ids::DeskShort), textSpec_, places_[ids::DeskShort], Px(kContentBottom), false);
  FitOptions();

  // The copy page's labels, each above its bar.
  FitLabel(item(ids::lblStatus0), textSpec_, places_[ids::lblStatus0], topOf(ids::picStatus0),
           true);
  FitLabel(item(ids::lblStatus1), textSpec_, places_[ids::lblStatus1], topOf(ids::picStatus1),
           true);
}

}  // namespace tessaro
