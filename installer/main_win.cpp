// Installer.exe: reads its command line, then loads the wizard form and runs
// its messages, or installs without a person (/S, /VERYSILENT). Every way out
// but /? passes through EndProgram (exit_codes.h), which ends the process
// with the exit code; after a run EndOfSetup leads there.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "exit_codes.h"
#include "settings/setup_folder.h"
#include "text.h"
#include "texts.h"
#include "unattended/command_line.h"
#include "unattended/silent_run.h"
#include "unattended/silent_window_win.h"
#include "unattended/transcript.h"
#include "unattended/transcript_file_win.h"
#include "unattended/unattended_ui.h"
#include "win32/files_win.h"
#include "win32/form_keys.h"
#include "win32/form_window.h"
#include "win32/platform_win.h"
#include "win32/processes_win.h"
#include "win32/registry_win.h"
#include "win32/shell_win.h"
#include "win32/system_dlls_win.h"
#include "win32/ui_win.h"
#include "win32/wide.h"
#include "wizard/frm_setup_win.h"

namespace {

using namespace tessaro;

// The installer's program-wide values: the package description and the flags.
InstallerState g_state;

// The command line after the program's own name.
std::string Arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    for (++p; *p && *p != L'"'; ++p) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return Narrow(p);
}

std::string FullPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const auto full = TextOfCall([&](DWORD size, wchar_t* buffer) {
    return GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
  });
  return full ? Narrow(*full) : path;
}

// The run's transcript: /LOG's file, or for a silent run a file of its own
// (also when /LOG's was refused, so that the refusal is written down). A
// refusal of /LOG's path becomes the command line's fault.
TranscriptFile OpenTranscript(CommandLine& line) {
  TranscriptFile opened;
  if (line.log) {
    opened = OpenLogFile(FullPath(*line.log));
    if (opened.refusal.empty()) return opened;
    if (line.error.empty()) line.error = opened.refusal;
    line.log.reset();
  }
  if (line.silent && !line.log) opened = CreateRunTranscript();
  return opened;
}

std::string Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return ZeroPadded(t.wYear, 4) + "-" + ZeroPadded(t.wMonth, 2) + "-" + ZeroPadded(t.wDay, 2) +
         " " + ZeroPadded(t.wHour, 2) + ":" + ZeroPadded(t.wMinute, 2) + ":" +
         ZeroPadded(t.wSecond, 2);
}

// /? and /HELP: a line on the console the installer was started from, or a
// box when there is none.
void ShowHelp() {
  const std::wstring help = Widen(CommandLineHelp() + "\r\n");
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE &&
        WriteConsoleW(out, help.c_str(), static_cast<DWORD>(help.size()), &written, nullptr))
      return;
  }
  MessageBoxW(nullptr, help.c_str(), Widen(texts::kWizardCaption).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystemFolder();
  // Everything below lives until the program ends: every way out but /?
  // ends the process from inside (EndProgram), and nothing is destroyed
  // before it.
  // A drive without a disk (an empty floppy drive chosen as destination) is
  // the installer's own case: no system box asking to insert one.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const std::string arguments = Arguments();
  CommandLine line = ParseCommandLine(arguments);

  Win32Files files;
  std::optional<Transcript> transcript;
  if (TranscriptFile opened = OpenTranscript(line); opened.file) {
    transcript.emplace(std::move(opened.file), opened.path, Now);
    // Its first line names the start and the command line.
    if (transcript->Start(arguments)) g_state.Events = &*transcript;
  }
  auto note = [](const std::string& event) {
    if (g_state.Events) g_state.Events->Write(event);
  };
  SetHandlerFailureNote(note);

  Win32Ui person;
  UnattendedUi ui(person, g_state.Events ? &*transcript : nullptr, line.silent);
  Win32Registry registry;
  Win32Shell shell;
  Win32Processes processes;
  Win32Platform platform;
  InstallerContext cx{Services{ui, files, registry, shell, processes, platform}, g_state};

  if (!line.error.empty()) {
    // Nothing is installed; a person is told, a script reads the code.
    note("riga di comando non valida: " + line.error);
    if (!line.silent)
      MessageBoxW(nullptr, Widen(line.error + "\r\n\r\n" + CommandLineHelp()).c_str(),
                  Widen(texts::kWizardCaption).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    EndProgram(cx, exitcode::BadCommandLine);
  }
  if (line.help) {
    // Not a run: the transcript, if any, gets no last line.
    ShowHelp();
    return exitcode::Installed;
  }

  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  if (line.silent) {
    SilentWindow window;
    window.Create(instance, !line.verySilent);
    RunSilently(cx, line, window);
  }

  FrmSetup form(cx, person);
  if (!form.Create(instance)) EndProgram(cx, exitcode::Fatal);
  form.LoadAndShow();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchFormMessage(msg);
  // The wizard went away without its own way out: nothing was installed.
  if (g_state.ExitCode < 0 && !g_state.QuitConfirmed) g_state.ExitCode = exitcode::Cancelled;
  EndOfSetup(cx);
}
