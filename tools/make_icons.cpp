// make_icons: draws the programs' icons and writes them as .ico files.
//   make_icons installer|kvb OUTPUT.ico
// Each icon holds 16, 24, 32, 48 and 64 pixel images (the small and the large
// icon at 100, 150 and 200 % of 96 dpi), drawn from the same shapes (given in
// fractions of the icon's side) with 4 x 4 samples per pixel for smooth
// edges. Every image is a PNG with alpha, which icons may hold since Windows
// Vista: about 5 KB for the five, where the classic bitmaps took 17 KB for
// four.
// Built and run on the build machine, with its zlib.
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Colour {
  double r, g, b, a = 1.0;
};

struct Point {
  double x, y;
};

using Inside = std::function<bool(double x, double y)>;

// One image being drawn, straight (not premultiplied) alpha.
class Canvas {
 public:
  // Clear to start with: a Colour on its own is opaque black.
  explicit Canvas(int size)
      : size_(size), pixels_(static_cast<size_t>(size * size), Colour{0, 0, 0, 0}) {}
  int size() const { return size_; }

  // Paints `colour` wherever `inside` holds, weighted by how much of each
  // pixel it covers.
  void Fill(const Inside& inside, Colour colour) {
    constexpr int kSamples = 4;
    for (int py = 0; py < size_; ++py) {
      for (int px = 0; px < size_; ++px) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy)
          for (int sx = 0; sx < kSamples; ++sx)
            if (inside((px + (sx + 0.5) / kSamples) / size_, (py + (sy + 0.5) / kSamples) / size_))
              ++hits;
        if (hits)
          Over(pixels_[static_cast<size_t>(py * size_ + px)], colour,
               colour.a * hits / (kSamples * kSamples));
      }
    }
  }
  const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y * size_ + x)]; }

 private:
  static void Over(Colour& dst, const Colour& src, double alpha) {
    const double out = alpha + dst.a * (1 - alpha);
    if (out <= 0) return;
    auto mix = [&](double s, double d) { return (s * alpha + d * dst.a * (1 - alpha)) / out; };
    dst = {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), out};
  }
  int size_;
  std::vector<Colour> pixels_;
};

Inside RoundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    double cx = std::fmin(std::fmax(x, x0 + r), x1 - r);
    double cy = std::fmin(std::fmax(y, y0 + r), y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

Inside Polygon(std::vector<Point> points) {
  return [points](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& a = points[i];
      const Point& b = points[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  };
}

// A stroke from a to b, `width` wide, with round ends.
Inside Stroke(Point a, Point b, double width) {
  return [=](double x, double y) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
    t = std::fmin(std::fmax(t, 0.0), 1.0);
    double ex = a.x + t * dx - x, ey = a.y + t * dy - y;
    return ex * ex + ey * ey <= width * width / 4;
  };
}

// The wizard's colours.
const Colour kInk{12 / 255.0, 36 / 255.0, 70 / 255.0};
const Colour kCover{30 / 255.0, 74 / 255.0, 128 / 255.0};
const Colour kPaper{248 / 255.0, 250 / 255.0, 253 / 255.0};
const Colour kRule{150 / 255.0, 182 / 255.0, 218 / 255.0};
const Colour kYellow{250 / 255.0, 210 / 255.0, 60 / 255.0};
const Colour kBlue{40 / 255.0, 110 / 255.0, 200 / 255.0};
const Colour kWhite{1, 1, 1};
const Colour kSteel{190 / 255.0, 198 / 255.0, 210 / 255.0};

// The shield with its tick, in the square from (x, y), `side` wide.
void DrawShield(Canvas& c, double x, double y, double side) {
  auto shape = [&](double inset) {
    std::vector<Point> p{{0.5, inset}, {1 - inset, 0.12 + inset * 0.5}};
    for (int i = 1; i <= 8; ++i) {
      double t = i / 8.0;
      p.push_back({1 - inset - (0.5 - inset) * t * t, 0.12 + 0.45 * t + (0.43 - inset) * t * t});
    }
    for (int i = 7; i >= 1; --i) {
      double t = i / 8.0;
      p.push_back({inset + (0.5 - inset) * t * t, 0.12 + 0.45 * t + (0.43 - inset) * t * t});
    }
    p.push_back({inset, 0.12 + inset * 0.5});
    for (Point& q : p) q = {x + q.x * side, y + q.y * side};
    return Polygon(p);
  };
  c.Fill(shape(0.0), kYellow);
  c.Fill(shape(0.09), kBlue);
  const double w = side * 0.13;
  c.Fill(Stroke({x + side * 0.27, y + side * 0.50}, {x + side * 0.45, y + side * 0.68}, w), kWhite);
  c.Fill(Stroke({x + side * 0.45, y + side * 0.68}, {x + side * 0.75, y + side * 0.32}, w), kWhite);
}

// The installer: an open ledger guarded by the shield.
void DrawInstaller(Canvas& c) {
  const double sag = 0.07;
  c.Fill(Polygon({{0.02, 0.22},
                  {0.47, 0.22 + sag},
                  {0.92, 0.22},
                  {0.92, 0.80},
                  {0.47, 0.84},
                  {0.02, 0.80}}),
         kCover);
  c.Fill(Polygon({{0.06, 0.16}, {0.47, 0.16 + sag}, {0.47, 0.78}, {0.06, 0.74}}), kPaper);
  c.Fill(Polygon({{0.47, 0.16 + sag}, {0.88, 0.16}, {0.88, 0.74}, {0.47, 0.78}}), kPaper);
  const int rows = c.size() >= 32 ? 5 : c.size() >= 24 ? 4 : 3;
  const double line = std::fmax(1.0 / c.size(), 0.035);
  for (int i = 0; i < rows; ++i) {
    double y = 0.27 + i * (0.42 / rows);
    c.Fill(Stroke({0.11, y}, {0.42, y + sag * 0.8}, line), kRule);
    c.Fill(Stroke({0.52, y + sag * 0.8}, {0.83, y}, line), kRule);
  }
  c.Fill(Stroke({0.47, 0.16 + sag}, {0.47, 0.78}, line * 1.2), kInk);
  DrawShield(c, 0.50, 0.42, 0.50);
}

// The backup program: a floppy disk, with the same shield.
void DrawBackup(Canvas& c) {
  c.Fill(Polygon({{0.06, 0.10}, {0.78, 0.10}, {0.90, 0.22}, {0.90, 0.88}, {0.06, 0.88}}), kCover);
  c.Fill(RoundRect(0.26, 0.10, 0.70, 0.36, 0.02), kSteel);
  c.Fill(RoundRect(0.52, 0.14, 0.62, 0.32, 0.01), kCover);
  c.Fill(RoundRect(0.16, 0.48, 0.80, 0.88, 0.03), kPaper);
  if (c.size() >= 24) {
    const double line = std::fmax(1.0 / c.size(), 0.035);
    for (double y : {0.58, 0.68}) c.Fill(Stroke({0.22, y}, {0.60, y}, line), kRule);
  }
  DrawShield(c, 0.50, 0.44, 0.50);
}

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
void Put32BigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// A PNG chunk: length, type, data and the CRC of type and data.
void Chunk(std::string& out, const char* type, const std::string& data) {
  const std::string body = type + data;
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  out += body;
  Put32BigEndian(out, static_cast<uint32_t>(
                          crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

// One icon image as a PNG: 8-bit RGBA (the only PNG Windows takes in an icon), rows
// top-down without filtering (the smallest for these flat shapes), the
// colour of fully transparent pixels left black so that it packs away.
std::string IconImage(const Canvas& c) {
  const int n = c.size();
  auto byte = [](double v) {
    return static_cast<char>(
        static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0), 1.0) * 255)));
  };
  std::string rows;
  for (int y = 0; y < n; ++y) {
    rows += '\0';  // filter type None
    for (int x = 0; x < n; ++x) {
      const Colour& p = c.At(x, y);
      const char alpha = byte(p.a);
      rows += alpha ? byte(p.r) : '\0';
      rows += alpha ? byte(p.g) : '\0';
      rows += alpha ? byte(p.b) : '\0';
      rows += alpha;
    }
  }
  uLongf packedSize = compressBound(rows.size());
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                reinterpret_cast<const Bytef*>(rows.data()), rows.size(), 9) != Z_OK)
    return {};
  packed.resize(packedSize);

  std::string header;
  Put32BigEndian(header, static_cast<uint32_t>(n));
  Put32BigEndian(header, static_cast<uint32_t>(n));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no interlace
  std::string out("\x89PNG\r\n\x1a\n", 8);
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", "");
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "installer") && std::strcmp(argv[1], "kvb"))) {
    std::fprintf(stderr, "usage: make_icons installer|kvb OUTPUT.ico\n");
    return 2;
  }
  const bool installer = std::strcmp(argv[1], "installer") == 0;
  const int sizes[] = {16, 24, 32, 48, 64};
  std::vector<std::string> images;
  for (int size : sizes) {
    Canvas canvas(size);
    if (installer)
      DrawInstaller(canvas);
    else
      DrawBackup(canvas);
    images.push_back(IconImage(canvas));
    if (images.back().empty()) {
      std::fprintf(stderr, "make_icons: compression failed\n");
      return 1;
    }
  }
  std::string file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<uint16_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    file += static_cast<char>(sizes[i]);
    file += static_cast<char>(sizes[i]);
    file += '\0';
    file += '\0';
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::string& image : images) file += image;
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::perror(argv[2]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
