#pragma once
// The set label: the volume label every floppy of one backup set carries and
// the set's only identity. It is a random number from 1 to 9,999,999,999
// written with 11 digits, the sixth replaced by "-": "0dddd-ddddd".
#include <cstdint>
#include <functional>
#include <string>

#include "seams/files.h"

namespace tessaro {

inline constexpr uint64_t kLargestSetNumber = 9999999999ULL;

// The label of one number (1 to 9,999,999,999).
std::string SetLabelOf(uint64_t number);

// A new label from a draw that returns a whole number from 1 to
// 9,999,999,999; tests pass their own draw.
std::string NewSetLabel(const std::function<uint64_t()>& draw);
// A new label from a generator seeded afresh from the clocks at each call,
// so two sets made in the same second still differ.
std::string NewSetLabel();

// Whether the text has the form of a set label.
bool IsSetLabel(const std::string& text);

// The volume label of a drive root ("A:\"), cut at its first NUL. A drive
// that cannot be read gives 127 spaces, which never equals a set label.
std::string GetVolumeLabel(FileSystem& files, const std::string& root);

}  // namespace tessaro
