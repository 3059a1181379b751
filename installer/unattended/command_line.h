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
  std::optional<std::string> log;          // /LOG=file
  bool help = false;                       // /? or /HELP
  // Why the command line cannot be followed (in Italian); empty when it can.
  std::string error;
};

// Splits the argument text (everything after the program's name) into
// switches. Blanks separate them outside double quotes; the quotes go.
CommandLine ParseCommandLine(const std::string& arguments);

// The list of switches, in Italian, for /? and for a bad command line; it
// names the exit codes of exit_codes.h.
std::string CommandLineHelp();

}  // namespace tessaro
