// Which standard icon a message box shows.
//
// An HICON is private to its process (under Wine STM_GETICON hands back a
// handle that means nothing here), so the icon is recognised by its look:
// the icon control's pixels are read from the screen and compared with the
// four standard icons drawn in this process on the same background.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>

#include "robot.h"

namespace robot {

namespace {

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> bgrx;  // top row first
};

struct DcReleaser {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using GdiObject = std::unique_ptr<void, GdiDeleter>;

// A 32-bit top-down bitmap selected into a memory DC; `draw` paints into it.
template <typename Draw>
Pixels paint(int width, int height, Draw draw) {
  Pixels out{width, height, {}};
  ScreenDc screen(GetDC(nullptr));
  MemoryDc dc(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return out;
  HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
  draw(dc.get(), screen.get());
  GdiFlush();
  auto* first = static_cast<const uint32_t*>(bits);
  out.bgrx.assign(first, first + size_t(width) * height);
  for (auto& p : out.bgrx) p &= 0xFFFFFF;
  SelectObject(dc.get(), old);
  return out;
}

Pixels capture(const Rect& r) {
  return paint(r.width(), r.height(), [&](HDC dc, HDC screen) {
    BitBlt(dc, 0, 0, r.width(), r.height(), screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  });
}

Pixels draw_icon(LPCWSTR which, int width, int height, uint32_t background) {
  return paint(width, height, [&](HDC dc, HDC) {
    COLORREF bg = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    GdiObject brush(CreateSolidBrush(bg));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(brush.get()));
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, which), width, height, 0, nullptr, DI_NORMAL);
  });
}

// The icons are round or triangular: the corners show the background.
uint32_t background_of(const Pixels& p) {
  uint32_t corners[4] = {p.bgrx.front(), p.bgrx[size_t(p.width) - 1],
                         p.bgrx[p.bgrx.size() - size_t(p.width)], p.bgrx.back()};
  for (uint32_t c : corners)
    if (std::count(std::begin(corners), std::end(corners), c) >= 2) return c;
  return corners[0];
}

bool uniform(const Pixels& p) {
  return std::all_of(p.bgrx.begin(), p.bgrx.end(), [&](uint32_t c) { return c == p.bgrx[0]; });
}

// Mean difference per colour channel, 0 to 255.
double distance(const Pixels& a, const Pixels& b) {
  if (a.bgrx.size() != b.bgrx.size() || a.bgrx.empty()) return 255;
  uint64_t sum = 0;
  for (size_t i = 0; i < a.bgrx.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8)
      sum += std::abs(int((a.bgrx[i] >> shift) & 0xFF) - int((b.bgrx[i] >> shift) & 0xFF));
  return double(sum) / (3.0 * double(a.bgrx.size()));
}

struct Match {
  Icon icon = Icon::none;
  double distance = 255;
};

Match nearest(const Pixels& shot) {
  static const struct {
    Icon icon;
    LPCWSTR resource;
  } kIcons[] = {{Icon::critical, IDI_HAND},
                {Icon::exclamation, IDI_EXCLAMATION},
                {Icon::question, IDI_QUESTION},
                {Icon::information, IDI_ASTERISK}};
  Match best;
  uint32_t bg = background_of(shot);
  for (auto& k : kIcons) {
    double d = distance(shot, draw_icon(k.resource, shot.width, shot.height, bg));
    if (d < best.distance) best = {k.icon, d};
  }
  return best;
}

// The message box's icon: a visible static control with the SS_ICON style.
std::optional<Control> icon_control(HWND box) {
  for (auto& c : controls(box))
    if (c.visible && c.class_name == "Static" && (c.style & SS_TYPEMASK) == SS_ICON) return c;
  return std::nullopt;
}

}  // namespace

const char* to_string(Icon icon) {
  switch (icon) {
    case Icon::none:
      return "none";
    case Icon::critical:
      return "critical";
    case Icon::exclamation:
      return "exclamation";
    case Icon::question:
      return "question";
    case Icon::information:
      return "information";
  }
  return "?";
}

Icon read_icon(HWND box, Millis timeout) {
  auto control = icon_control(box);
  if (!control || control->screen.width() <= 0 || control->screen.height() <= 0) return Icon::none;
  // The handle is useless here, but whether there is one is not.
  DWORD_PTR handle = 0;
  if (SendMessageTimeoutW(control->hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle) &&
      handle == 0)
    return Icon::none;

  // The icons are drawn by the same code on both sides, so a painted and
  // uncovered box matches exactly (0). Under Wine the question and information
  // icons, both blue discs, differ by only about 5: the bar must be well below.
  // Anything else means not painted yet or covered: bring the box up and look
  // again until the time-out.
  constexpr double kSameIcon = 1.0;
  Match best;
  bool raised = false;
  poll_until(
      [&] {
        Pixels shot = capture(control->screen);
        if (shot.bgrx.empty() || uniform(shot)) return false;
        best = nearest(shot);
        if (best.distance <= kSameIcon) return true;
        if (!raised) {
          SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
          raised = true;
        }
        return false;
      },
      timeout);
  return best.icon;
}

}  // namespace robot
