#pragma once
// The installer's command line for administrators. With no arguments the
// installer is the wizard a person clicks through; the switches below run it
// unattended. Switch names are case-insensitive, in any order; a value may
// be quoted ("/D=\"C:\Aziende\Contabilità\"").
#include <optional>
#include <string>

namespace tessaro {

struct CommandLine {
  bool silent = false;                     // /S: no pages, no questions, a small progress window
  bool verySilent = false;                 // /VERYSILENT: nothing shown at all (implies silent)
  std::optional<std::string> destination;  // /D=path
  std::optional<std::string> group;        // /GROUP=name
  bool noDesktop = false;                  // /NODESKTOP
  bool noRestart = false;                  // /NORESTART
  std::optional<std::string> log;          // /LOG=file, not a device (LogPathRefusal)
  bool help = false;                       // /? or /HELP
  // Why the command line cannot be followed (in Italian); empty when it can.
  std::string error;
};

// Splits the argument text (everything after the program's name) into
// switches. Blanks separate them outside double quotes; the quotes go.
CommandLine ParseCommandLine(const std::string& arguments);

// Why /LOG cannot name `path`, in Italian with the path, or empty when it
// can: a device (CON, NUL, COM1, LPT1... with any extension, in any folder),
// a path in the device namespaces (\\.\, \\?\, \??\) or one naming a
// stream or device with a colon past the drive's. Read from the text alone;
// what lies at the path is the transcript's own check (transcript.h).
std::string LogPathRefusal(const std::string& path);

// The list of switches, in Italian, for /? and for a bad command line; it
// names the exit codes of exit_codes.h.
std::string CommandLineHelp();

}  // namespace tessaro
