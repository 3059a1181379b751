// kvb_bench.exe: one timed operation of the backup program on real files,
// in a process of its own so that its peak memory is its own. Prints
// "seconds=S peak=BYTES" on success.
//   kvb_bench make FILE MEGABYTES     a data file of varied bytes (untimed)
//   kvb_bench copy FROM TO            a plain CopyFileW: the split's reference
//   kvb_bench copyflush FROM TO       CopyFileW, then the copy flushed to the
//                                     disk as the join flushes: its reference
//   kvb_bench split FILE CATALOGUE    SplitFile with floppy-sized pieces and
//                                     the set's checksums and parity; also
//                                     prints "crc=" the data file's CRC-32
//   kvb_bench join CATALOGUE TARGET CRC   JoinFile of that set to TARGET,
//                                     checked against that CRC-32
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "set_format.h"
#include "split_join.h"
#include "win32/files_win.h"
#include "win32/platform_win.h"
#include "win32/processes_win.h"
#include "win32/registry_win.h"
#include "win32/shell_win.h"
#include "win32/wide.h"

namespace {

using namespace tessaro;

// Boxes go to the console: a benchmark has nobody to answer them.
struct ConsoleUi : UserInterface {
  MsgAnswer ShowMessage(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
    std::fprintf(stderr, "box: %s\n", text.c_str());
    return MsgAnswer::Ok;
  }
  void Beep() override {}
  void SetBusyPointer(bool) override {}
  void PumpMessages() override {}
};

bool MakeFile(const std::string& path, long megabytes) {
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::vector<char> block(1 << 20);
  uint32_t x = 2463534242u;
  bool ok = true;
  for (long i = 0; i < megabytes && ok; ++i) {
    for (char& c : block) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      c = static_cast<char>(x);
    }
    DWORD written = 0;
    ok = WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
         written == block.size();
  }
  CloseHandle(h);
  return ok;
}

}  // namespace

// Makes what was copied reach the disk, as JoinFile does with its scratch file.
bool FlushFile(const wchar_t* path) {
  HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = FlushFileBuffers(h) != 0;
  CloseHandle(h);
  return ok;
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: kvb_bench make|copy|copyflush|split|join A B [CRC]\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::string a = Narrow(argv[2]), b = Narrow(argv[3]);
  if (mode == L"make") return MakeFile(a, std::wcstol(argv[3], nullptr, 10)) ? 0 : 1;

  ConsoleUi ui;
  Win32Files files;
  Win32Registry registry;
  Win32Shell shell;
  Win32Processes processes;
  Win32Platform platform;
  Services sys{ui, files, registry, shell, processes, platform};

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  bool ok = false;
  SetChecks checks;
  if (mode == L"copy" || mode == L"copyflush") {
    ok = CopyFileW(argv[2], argv[3], FALSE) != 0 && (mode == L"copy" || FlushFile(argv[3]));
  } else if (mode == L"split") {
    std::string why;
    int32_t pieces = 0;
    ok = SplitFile(sys, a, 1, why, pieces, kPieceSize, b, &checks);
    if (!ok) std::fprintf(stderr, "split: %s\n", why.c_str());
  } else if (mode == L"join" && argc == 5) {
    ok = JoinFile(sys, a, false, b, static_cast<uint32_t>(std::wcstoul(argv[4], nullptr, 16)));
  }
  QueryPerformanceCounter(&end);
  if (!ok) return 1;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  std::printf("seconds=%.3f peak=%lu crc=%08lx\n",
              double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
              static_cast<unsigned long>(memory.PeakWorkingSetSize),
              static_cast<unsigned long>(checks.fileCrc));
  return 0;
}
