// Starting and watching programs.
#include <utility>

#include "robot.h"

namespace robot {

bool poll_until(const std::function<bool()>& ready, Millis timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(20);
  }
}

namespace {

std::string last_error_text(const char* what) {
  DWORD code = GetLastError();
  wchar_t* msg = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&msg), 0, nullptr);
  std::string text = std::string(what) + " failed, error " + std::to_string(code);
  if (msg) {
    text += ": " + narrow(msg);
    LocalFree(msg);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  }
  return text;
}

// The quoting rules of CommandLineToArgvW: backslashes are literal unless they
// precede a quote, where they are doubled.
void append_quoted(std::wstring& line, const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
    line += arg;
    return;
  }
  line += L'"';
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    if (c == L'"') slashes = slashes * 2 + 1;
    line.append(slashes, L'\\');
    slashes = 0;
    line += c;
  }
  line.append(slashes * 2, L'\\');
  line += L'"';
}

}  // namespace

std::wstring command_line(const std::string& program, const std::vector<std::string>& args) {
  std::wstring line;
  append_quoted(line, widen(program));
  for (const auto& a : args) {
    line += L' ';
    append_quoted(line, widen(a));
  }
  return line;
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    reset();
    handle_ = std::exchange(other.handle_, nullptr);
    pid_ = std::exchange(other.pid_, 0);
    error_ = std::move(other.error_);
  }
  return *this;
}

Process::~Process() { reset(); }

void Process::reset() {
  if (!handle_) return;
  if (running()) terminate();
  CloseHandle(handle_);
  handle_ = nullptr;
  pid_ = 0;
}

Process Process::start(const std::string& program, const std::vector<std::string>& args,
                       const std::string& cwd) {
  return launch(program, command_line(program, args), cwd);
}

Process Process::start_line(const std::string& program, const std::string& arguments,
                            const std::string& cwd) {
  return launch(program, command_line(program, {}) + L" " + widen(arguments), cwd);
}

Process Process::launch(const std::string& program, std::wstring line, const std::string& cwd) {
  Process p;
  // No application name: the program is found as the command line's first
  // word, along the PATH when it has no folder.
  std::wstring dir = widen(cwd);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  // No standard handles: under Wine a child otherwise writes to our stdout,
  // and a program left running would hold the pipe of whoever reads it.
  // (Wine hands its Unix stderr down regardless.)
  si.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    p.error_ = last_error_text(("CreateProcess of " + program).c_str());
    return p;
  }
  CloseHandle(pi.hThread);
  p.handle_ = pi.hProcess;
  p.pid_ = pi.dwProcessId;
  return p;
}

Process Process::attach(DWORD pid) {
  Process p;
  p.handle_ =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (p.handle_)
    p.pid_ = pid;
  else
    p.error_ = last_error_text(("OpenProcess of " + std::to_string(pid)).c_str());
  return p;
}

bool Process::running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::wait_exit(Millis timeout) {
  return handle_ && WaitForSingleObject(handle_, DWORD(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::exit_code() const {
  DWORD code = 0;
  if (!handle_ || running() || !GetExitCodeProcess(handle_, &code)) return std::nullopt;
  return code;
}

void Process::terminate(UINT code) {
  if (!handle_) return;
  TerminateProcess(handle_, code);
  WaitForSingleObject(handle_, 5000);
}

void Process::release() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
  pid_ = 0;
}

}  // namespace robot
