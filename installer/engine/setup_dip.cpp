#include "engine/setup_dip.h"

#include "text.h"

namespace tessaro {

namespace {
constexpr const size_t* kStart = kSetupDipValueStart;
constexpr size_t kShortcutStart = kSetupDipShortcutStart;
}  // namespace

void ReadSetupDip(const std::string& text, const std::string& programFiles, PackageValues& pkg) {
  LineReader in(text);
  auto value = [&](size_t start) { return TrimBlanks(FromCharPosition(in.ReadLine(), start)); };

  pkg.AppFullName = value(kStart[0]);
  value(kStart[1]);  // free text, not used by the installer
  pkg.AppShortName = value(kStart[2]);
  pkg.ProgramGroup = value(kStart[3]);
  pkg.AppVersion = value(kStart[4]);
  pkg.InstallPath = programFiles + "\\" + value(kStart[5]);
  pkg.PackageBytes = RoundToInt32(LeadingNumber(value(kStart[6])));
  pkg.MainProgram = value(kStart[7]);
  pkg.DatabaseFile = value(kStart[8]);
  pkg.WorkgroupFile = value(kStart[9]);
  pkg.IconFile = value(kStart[10]);

  pkg.ShortcutCount = 0;
  pkg.ExtraShortcuts = {};
  while (!in.AtEnd() && pkg.ShortcutCount < pkg.ExtraShortcuts.size()) {
    // A group cut short by the end of the file raises the error before it
    // is counted: no half-filled entry is kept.
    ShortcutEntry entry;
    entry.Name = value(kShortcutStart);
    entry.Target = value(kShortcutStart);
    entry.Icon = value(kShortcutStart);
    pkg.ExtraShortcuts[pkg.ShortcutCount++] = std::move(entry);
  }
}

}  // namespace tessaro
