// The installer's run phase against a plain copy of the same files, under Wine.
//
//   bench_install.exe INSTALLER_EXE PACKAGE_DIR WORK_DIR [RUNS [small|large]]
//
// For each of two packages (2,000 files of 100 KiB in four folders, and four
// files of 50 MiB) it alternates, RUNS times (3 by default):
//  - the reference: CopyFileW of every file, one by one, into a fresh folder;
//  - the real Installer.exe, walked by the robot from its welcome page to the
//    summary. The clock starts with the summary's Next and stops at the
//    completion box (the run phase); the copy phase goes from the first
//    "Copia di" on the copy page to the waiting window of the registry phase.
// The package's files are hard links to one master copy, read once before
// the first run, so every run reads the same warm pages. It prints every run,
// then the medians and their ratios to the reference.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "robot.h"
#include "wizard/control_ids.h"

namespace {

using robot::Millis;
using robot::narrow;
using robot::widen;
namespace ids = tessaro::ids;

// The package files beside Setup.dip and Setup.ftc that the installer checks
// for or copies; taken from the staged sample package.
const char* const kPackageFiles[] = {"Licence.txt",  "Welcome.txt",  "unplant.dll",
                                     "kv_shell.dll", "Settings.lrk", "MsVBvm50.dll"};

// The end of the copy phase and of the run are seen within this.
constexpr DWORD kPollMs = 5;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

[[noreturn]] void Fail(const std::string& what) {
  std::printf("bench_install: %s\n", what.c_str());
  std::fflush(stdout);
  ExitProcess(1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesW(widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(widen(path).c_str());
    return;
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(widen(Join(path, "*")).c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
        RemoveTree(Join(path, narrow(data.cFileName)));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(widen(path).c_str());
}

void MakeFolder(const std::string& path) {
  if (!CreateDirectoryW(widen(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    Fail("cannot make " + path);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) Fail("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot read " + path);
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// One file of a package: its name in files\ and its folder below the
// destination ("" for the destination itself).
struct PackageFile {
  std::string name, folder;
};

struct Package {
  std::string title;
  std::string master;  // a setup folder without Installer.exe
  std::vector<PackageFile> files;
  uint64_t bytes = 0;
};

// Setup.dip of the sample package with the package's size on line 7, and a
// Setup.ftc that lists `files`.
Package MakePackage(const std::string& title, const std::string& sample, const std::string& master,
                    int count, uint32_t size, const std::vector<std::string>& folders) {
  Package p{title, master, {}, static_cast<uint64_t>(count) * size};
  RemoveTree(master);
  MakeFolder(master);
  MakeFolder(Join(master, "files"));
  for (const char* name : kPackageFiles)
    if (!CopyFileW(widen(Join(sample, name)).c_str(), widen(Join(master, name)).c_str(), FALSE))
      Fail(std::string("cannot copy the sample's ") + name);

  std::string dip = ReadFileBytes(Join(sample, "Setup.dip"));
  const size_t line7 = dip.find("Dimensione:");
  if (line7 == std::string::npos) Fail("the sample's Setup.dip has no size line");
  dip.replace(line7, dip.find('\r', line7) - line7, "Dimensione:" + std::to_string(p.bytes));
  WriteFileBytes(Join(master, "Setup.dip"), dip);

  std::string list;
  std::string content(size, '\0');
  uint32_t seed = 12345;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "dati%04d.bin", i);
    const std::string& folder = folders[static_cast<size_t>(i) * folders.size() / count];
    p.files.push_back({name, folder});
    // Bytes that differ from file to file, cheaply.
    for (char& c : content) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
    WriteFileBytes(Join(Join(master, "files"), name), content);
    list += std::string(name) + ";\xA7\xA7KV_App_Path\xA7\xA7" + (folder.empty() ? "" : "\\") +
            folder + ";1\r\n";
  }
  WriteFileBytes(Join(master, "Setup.ftc"), list);
  return p;
}

// Reads every file of the package once, so the runs start with a warm cache.
void WarmUp(const Package& p) {
  for (const PackageFile& f : p.files) ReadFileBytes(Join(Join(p.master, "files"), f.name));
}

// Writes back every dirty page before a timed run (Wine starts Unix programs),
// so that no run is slowed by the write-back of the one before it.
void SyncDisks() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  wchar_t line[] = L"Z:\\bin\\sync";
  if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    Fail("cannot start /bin/sync");
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

double ReferenceCopy(const Package& p, const std::string& target) {
  RemoveTree(target);
  SyncDisks();
  const double start = Now();
  MakeFolder(target);
  std::string lastFolder;
  for (const PackageFile& f : p.files) {
    const std::string folder = f.folder.empty() ? target : Join(target, f.folder);
    if (folder != lastFolder) {
      CreateDirectoryW(widen(folder).c_str(), nullptr);
      lastFolder = folder;
    }
    if (!CopyFileW(widen(Join(Join(p.master, "files"), f.name)).c_str(),
                   widen(Join(folder, f.name)).c_str(), FALSE))
      Fail("reference copy failed for " + f.name);
  }
  return Now() - start;
}

struct InstallerTimes {
  double run = 0, copy = 0;
};

struct Wizard {
  robot::Process& installer;
  HWND window;

  HWND Control(int id) {
    auto c = robot::find_control(window, id);
    return c ? c->hwnd : nullptr;
  }
  bool Shown(int id) {
    auto c = robot::find_control(window, id);
    return c && c->visible;
  }
  void Becomes(int id, bool visible, const char* page) {
    if (!robot::poll_until([&] { return Shown(id) == visible; }, Millis{20000}))
      Fail(std::string("the wizard did not reach the ") + page + "\n" +
           robot::describe_windows(installer.id()));
  }
  // A person's click on an image button.
  void ClickImage(int id) {
    HWND image = Control(id);
    PostMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(image, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
};

struct BoxSearch {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->pid || !IsWindowVisible(hwnd) || !robot::is_message_box(hwnd)) return TRUE;
  search->found = true;
  return FALSE;
}

// Cheaper than robot::find_box, which reads every window it passes.
bool BoxShown(DWORD pid) {
  BoxSearch search{pid, false};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Stages a setup folder from the master (the data files as hard links),
// walks the wizard to the summary and times the run.
InstallerTimes InstallerRun(const Package& p, const std::string& installerExe,
                            const std::string& setup, const std::string& destination) {
  RemoveTree(setup);
  RemoveTree(destination);
  MakeFolder(setup);
  MakeFolder(Join(setup, "files"));
  for (const char* name : {"Licence.txt", "Welcome.txt", "unplant.dll", "kv_shell.dll",
                           "Settings.lrk", "MsVBvm50.dll", "Setup.dip", "Setup.ftc"})
    if (!CopyFileW(widen(Join(p.master, name)).c_str(), widen(Join(setup, name)).c_str(), FALSE))
      Fail(std::string("cannot stage ") + name);
  if (!CopyFileW(widen(installerExe).c_str(), widen(Join(setup, "Installer.exe")).c_str(), FALSE))
    Fail("cannot copy " + installerExe);
  for (const PackageFile& f : p.files)
    if (!CreateHardLinkW(widen(Join(Join(setup, "files"), f.name)).c_str(),
                         widen(Join(Join(p.master, "files"), f.name)).c_str(), nullptr))
      Fail("cannot link " + f.name);

  SyncDisks();
  robot::Process installer = robot::Process::start(Join(setup, "Installer.exe"), {}, "C:\\");
  if (!installer.started()) Fail("Installer.exe did not start: " + installer.error());
  auto window = robot::wait_window({"TessaroFrmSetup", "", installer.id(), true}, Millis{20000});
  if (!window || !robot::wait_control(window->hwnd, ids::picStatus1))
    Fail("no wizard\n" + robot::describe_windows(installer.id()));
  Wizard w{installer, window->hwnd};

  w.ClickImage(ids::NextStep);
  w.Becomes(ids::Accettazione, true, "licence page");
  robot::click(*robot::find_control(w.window, ids::Lic_Accetto));
  if (!robot::poll_until(
          [&] {
            return SendMessageW(w.Control(ids::Lic_Accetto), BM_GETCHECK, 0, 0) == BST_CHECKED;
          },
          Millis{5000}))
    Fail("the licence could not be accepted");
  w.ClickImage(ids::NextStep);
  w.Becomes(ids::CopyPath, true, "destination page");
  robot::set_text(w.Control(ids::CopyPath), destination);
  w.ClickImage(ids::NextStep);
  auto create = robot::wait_box(installer.id());  // "Il percorso non esiste: ..."
  if (!create || !robot::press(create->hwnd, "Yes")) Fail("no question about the new folder");
  robot::wait_gone(create->hwnd);
  w.Becomes(ids::Welcome, true, "drive report");
  w.ClickImage(ids::NextStep);
  w.Becomes(ids::PrgGroup, true, "program group page");
  w.ClickImage(ids::NextStep);
  w.Becomes(ids::PrgGroup, false, "summary");
  const HWND label = w.Control(ids::lblStatus0);

  // The summary's Next starts the run.
  const double start = Now();
  w.ClickImage(ids::NextStep);
  double copyStart = 0, copyEnd = 0, end = 0;
  // The label answers when the run next lets messages through, which the
  // copy does once per bar: its first "Copia di" is seen at once. The other
  // two moments are polled every kPollMs, few enough not to slow the run.
  while (robot::text_of(label).rfind("Copia di", 0) != 0) {
    if (!installer.running()) Fail("the installer ended before copying");
    Sleep(1);
  }
  copyStart = Now();
  for (;;) {
    HWND waiting = FindWindowW(ids::waiting::kClass, nullptr);
    if (waiting && IsWindowVisible(waiting)) break;
    if (!installer.running()) Fail("the installer ended during the copy");
    Sleep(kPollMs);
  }
  copyEnd = Now();
  while (!BoxShown(installer.id())) {
    if (!installer.running()) Fail("the installer ended without the completion box");
    Sleep(kPollMs);
  }
  end = Now();

  auto box = robot::find_box(installer.id());
  if (!box || box->text != "Installazione completata.")
    Fail("unexpected box: " + (box ? robot::describe(*box) : std::string("none")));
  robot::press(box->hwnd, "OK");
  if (!installer.wait_exit(Millis{60000})) Fail("the installer did not end");

  // Every file arrived, and nothing was logged as not copied.
  for (const PackageFile& f : p.files) {
    const std::string folder = f.folder.empty() ? destination : Join(destination, f.folder);
    if (!Exists(Join(folder, f.name))) Fail("not installed: " + f.name);
  }
  if (!ReadFileBytes(Join(destination, "Install.Log")).empty())
    Fail("the installer logged files as not copied");
  return {end - start, copyEnd - copyStart};
}

// The folders' suffix for run r of package i.
std::string RunName(size_t i, int r) { return std::to_string(i) + "-" + std::to_string(r); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4)
    Fail("usage: bench_install.exe INSTALLER_EXE PACKAGE_DIR WORK_DIR [RUNS [small|large]]");
  const std::string installerExe = narrow(argv[1]), sample = narrow(argv[2]),
                    work = narrow(argv[3]);
  const int runs = argc > 4 ? std::max(1, _wtoi(argv[4])) : 3;
  MakeFolder(work);

  const std::string only = argc > 5 ? narrow(argv[5]) : "";
  std::vector<Package> packages;
  if (only != "large")
    packages.push_back(MakePackage("2000 files x 100 KiB", sample, Join(work, "small"), 2000,
                                   100 * 1024, {"", "Dati", "Modelli", "Archivio"}));
  if (only != "small")
    packages.push_back(
        MakePackage("4 files x 50 MiB", sample, Join(work, "large"), 4, 50 * 1024 * 1024, {""}));

  struct Result {
    std::vector<double> reference, run, copy;
  };
  std::vector<Result> results(packages.size());
  for (size_t i = 0; i < packages.size(); ++i) {
    const Package& p = packages[i];
    WarmUp(p);
    for (int r = 0; r < runs; ++r) {
      // Every run writes into folders of its own, and all of them go only at
      // the end: on a disk's ext4 without a journal, a file created within
      // 30 s of many deletions costs far more (the allocator steps over the
      // recently freed inodes), which would charge one side for the other's
      // clean-up.
      const std::string run = RunName(i, r);
      const double reference = ReferenceCopy(p, Join(work, "reference-" + run));
      const InstallerTimes installer = InstallerRun(p, installerExe, Join(work, "setup-" + run),
                                                    Join(work, "destination-" + run));
      results[i].reference.push_back(reference);
      results[i].run.push_back(installer.run);
      results[i].copy.push_back(installer.copy);
      std::printf("  %-22s run %d: reference %8.3f s   run phase %8.3f s   copy phase %8.3f s\n",
                  p.title.c_str(), r + 1, reference, installer.run, installer.copy);
      std::fflush(stdout);
    }
  }

  std::printf("\nmedians of %d runs        reference   run phase           copy phase\n", runs);
  for (size_t i = 0; i < packages.size(); ++i) {
    const double reference = Median(results[i].reference), run = Median(results[i].run),
                 copy = Median(results[i].copy);
    std::printf("%-22s %10.3f s %10.3f s %6.2fx %10.3f s %6.2fx\n", packages[i].title.c_str(),
                reference, run, run / reference, copy, copy / reference);
  }
  std::fflush(stdout);
  for (size_t i = 0; i < packages.size(); ++i)
    for (int r = 0; r < runs; ++r)
      for (const char* side : {"reference-", "setup-", "destination-"})
        RemoveTree(Join(work, side + RunName(i, r)));
  RemoveTree(Join(work, "small"));
  RemoveTree(Join(work, "large"));
  return 0;
}
