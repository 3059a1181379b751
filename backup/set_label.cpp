#include "set_label.h"

#include <chrono>
#include <random>

namespace tessaro {

std::string SetLabelOf(uint64_t number) {
  std::string digits = std::to_string(number % (kLargestSetNumber + 1));
  digits.insert(0, 11 - digits.size(), '0');
  digits[5] = '-';
  return digits;
}

std::string NewSetLabel(const std::function<uint64_t()>& draw) { return SetLabelOf(draw()); }

std::string NewSetLabel() {
  // Seeded afresh from the clocks at every call: the wall clock, and the
  // steady clock's nanoseconds, so two sets made in the same second differ.
  // (std::random_device would bring in some 30 KB of library for this.)
  const auto wall = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  const auto tick = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<uint32_t>(wall), static_cast<uint32_t>(wall >> 32),
                     static_cast<uint32_t>(tick), static_cast<uint32_t>(tick >> 32)};
  std::mt19937_64 generator(seed);
  std::uniform_int_distribution<uint64_t> numbers(1, kLargestSetNumber);
  return NewSetLabel([&] { return numbers(generator); });
}

bool IsSetLabel(const std::string& text) {
  if (text.size() != 11 || text[0] != '0' || text[5] != '-') return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != 5 && (text[i] < '0' || text[i] > '9')) return false;
  return text != "00000-00000";
}

std::string GetVolumeLabel(FileSystem& files, const std::string& root) {
  auto volume = files.VolumeInformation(root);
  if (!volume) return std::string(127, ' ');
  return volume->label.substr(0, volume->label.find('\0'));
}

}  // namespace tessaro
