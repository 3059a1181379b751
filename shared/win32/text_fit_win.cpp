#include "text_fit_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "screen_scale_win.h"

namespace tessaro {

HFONT FontBook::Get(const FontSpec& spec) {
  LOGFONTW lf{};
  lf.lfHeight = -spec.height;
  lf.lfWeight = spec.weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, spec.face, LF_FACESIZE - 1);
  return Find(lf);
}

HFONT FontBook::Get(const LOGFONTW& base, int height) {
  LOGFONTW lf = base;
  lf.lfHeight = base.lfHeight < 0 ? -height : height;
  return Find(lf);
}

HFONT FontBook::Find(const LOGFONTW& font) {
  for (const Entry& e : fonts_)
    if (memcmp(&e.key, &font, sizeof(font)) == 0) return static_cast<HFONT>(e.font.Get());
  fonts_.push_back({font, GdiObject(CreateFontIndirectW(&font))});
  return static_cast<HFONT>(fonts_.back().font.Get());
}

SIZE MeasureText(HFONT font, const std::wstring& text, int width, bool oneLine) {
  WindowDc screen(nullptr);
  SelectedObject use(screen.Get(), font);
  RECT r{0, 0, std::max(width, 1), 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS |
                (oneLine ? DT_SINGLELINE : DT_WORDBREAK | DT_EDITCONTROL);
  // DrawText measures an empty text as nothing; a control still shows a line.
  const std::wstring measured = text.empty() ? L" " : text;
  DrawTextW(screen.Get(), measured.c_str(), static_cast<int>(measured.size()), &r, format);
  return {r.right - r.left, r.bottom - r.top};
}

int WidestLine(HFONT font, const std::wstring& text) {
  int widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start)
      widest = std::max(
          widest, static_cast<int>(MeasureText(font, text.substr(start, end - start), 1, true).cx));
    if (end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n') ++end;
    start = end + 1;
  }
  return widest;
}

int LineHeight(HFONT font) {
  WindowDc screen(nullptr);
  SelectedObject use(screen.Get(), font);
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.Get(), &tm);
  return tm.tmHeight;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      std::max(0, GetWindowTextW(window, text.data(), static_cast<int>(text.size())))));
  return text;
}

namespace {

// From `largest` down to two thirds of it; `fontOf` makes each size.
template <typename FontOf>
TextFit FitSizes(int largest, FontOf fontOf, const std::wstring& text, int width, int room,
                 bool oneLine) {
  const int smallest = std::max(1, largest * 2 / 3);
  TextFit fit;
  for (int height = largest; height >= smallest; --height) {
    fit.font = fontOf(height);
    fit.size = height;
    SIZE need = MeasureText(fit.font, text, width, oneLine);
    fit.height = need.cy;
    fit.fits = need.cy <= room && need.cx <= width;  // a long word sticks out
    if (fit.fits) break;
  }
  return fit;
}

}  // namespace

TextFit FitText(FontBook& fonts, FontSpec base, const std::wstring& text, int width, int room,
                bool oneLine) {
  auto fontOf = [&](int height) {
    FontSpec spec = base;
    spec.height = height;
    return fonts.Get(spec);
  };
  return FitSizes(base.height, fontOf, text, width, room, oneLine);
}

TextFit FitText(FontBook& fonts, const LOGFONTW& base, const std::wstring& text, int width,
                int room, bool oneLine) {
  auto fontOf = [&](int height) { return fonts.Get(base, height); };
  return FitSizes(std::abs(static_cast<int>(base.lfHeight)), fontOf, text, width, room, oneLine);
}

int CheckBoxAllowance() { return Px(300); }

void UseFont(HWND control, HFONT font) {
  if (reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)) != font)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace tessaro
