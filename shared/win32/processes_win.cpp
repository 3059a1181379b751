#include "processes_win.h"

#include <windows.h>

#include "handles.h"
#include "wide.h"

namespace tessaro {

bool Win32Processes::RunAndWait(const std::string& commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command = Widen(commandLine);
  command.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // No application name: the first word is searched for as Windows searches
  // a command (program folder, current folder, system folders, PATH).
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &info))
    return false;
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  return true;
}

}  // namespace tessaro
