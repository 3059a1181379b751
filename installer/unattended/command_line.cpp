#include "unattended/command_line.h"

#include <vector>

#include "path_split.h"
#include "text.h"
#include "texts.h"

namespace tessaro {

namespace {

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::string current;
  bool quoted = false, any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) tokens.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) tokens.push_back(current);
  return tokens;
}

}  // namespace

std::string LogPathRefusal(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  const bool deviceNamespace =
      p.rfind("\\\\.\\", 0) == 0 || p.rfind("\\\\?\\", 0) == 0 || p.rfind("\\??\\", 0) == 0;
  // A colon past a drive's names a stream of a file ("Setup.dip:log") or a
  // device ("COM1:").
  const size_t colon = p.find(':');
  const bool streamOrDevice =
      colon != std::string::npos && (colon != 1 || p.find(':', 2) != std::string::npos);
  const size_t slash = p.find_last_of('\\');
  const std::string last = slash == std::string::npos ? p : p.substr(slash + 1);
  if (deviceNamespace || streamOrDevice || IsDeviceName(last)) return texts::kLogNotAFile + path;
  return {};
}

CommandLine ParseCommandLine(const std::string& arguments) {
  CommandLine line;
  // The first fault is the one told; the rest is still read, so that a bad
  // line with /S is refused without a box.
  auto refuse = [&line](const std::string& why) {
    if (line.error.empty()) line.error = why;
  };
  for (const std::string& token : Tokens(arguments)) {
    if (token.size() < 2 || token[0] != '/') {
      refuse("Argomento non valido: " + token);
      continue;
    }
    const size_t equals = token.find('=');
    const std::string name =
        UpperAscii(token.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? token.substr(equals + 1) : std::string();
    auto flag = [&](bool& target) {
      if (hasValue) refuse("L'opzione /" + name + " non accetta un valore: " + token);
      target = true;
    };
    auto text = [&](std::optional<std::string>& target) {
      if (value.empty())
        refuse("L'opzione /" + name + " richiede un valore: /" + name + "=...");
      else
        target = value;
    };
    if (name == "S") {
      flag(line.silent);
    } else if (name == "VERYSILENT") {
      flag(line.verySilent);
      line.silent = true;
    } else if (name == "D") {
      text(line.destination);
    } else if (name == "GROUP") {
      text(line.group);
    } else if (name == "NODESKTOP") {
      flag(line.noDesktop);
    } else if (name == "NORESTART") {
      flag(line.noRestart);
    } else if (name == "LOG") {
      if (const std::string why = LogPathRefusal(value); !value.empty() && !why.empty())
        refuse(why);
      else
        text(line.log);
    } else if (name == "?" || name == "HELP") {
      flag(line.help);
    } else {
      refuse("Opzione sconosciuta: " + token);
    }
  }
  return line;
}

std::string CommandLineHelp() {
  return "Uso: Installer.exe [opzioni]\r\n"
         "\r\n"
         "  /S              installa senza domande, mostrando solo l'avanzamento\r\n"
         "  /VERYSILENT     installa senza domande e senza mostrare nulla\r\n"
         "  /D=cartella     cartella di destinazione\r\n"
         "  /GROUP=nome     gruppo di programmi\r\n"
         "  /NODESKTOP      nessun collegamento sul Desktop\r\n"
         "  /NORESTART      non riavvia Windows, anche se un file sarà sostituito al riavvio\r\n"
         "  /LOG=file       scrive il resoconto dell'installazione in questo file\r\n"
         "  /? oppure /HELP questo elenco\r\n"
         "\r\n"
         "Con /S o /VERYSILENT la licenza d'uso si intende accettata. Senza /LOG il resoconto\r\n"
         "è scritto nella cartella TEMP dell'utente (per l'account SYSTEM in Windows\\Temp), in un\r\n"
         "file nuovo a ogni installazione: Tessaro-Installer-<data>-<ora>-<codice>.log.\r\n"
         "Codici di uscita: 0 installato, 3010 installato (riavvio necessario), 1641 installato\r\n"
         "(riavvio avviato), 1602 annullato, 1603 errore, 1639 riga di comando errata.";
}

}  // namespace tessaro
