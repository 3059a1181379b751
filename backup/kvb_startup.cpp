#include "kvb_startup.h"

#include "kvb_texts.h"

namespace tessaro::kvb {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where the window appears, in twips from the screen's top left corner.
constexpr int kWindowLeft = 800;
constexpr int kWindowTop = 800;

// Shows the refusal and ends the program.
void Refuse(Services& sys, const char* text) {
  sys.ui.ShowMessage(text, kvb_texts::kProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
  sys.platform.ExitProgram(0);
}

}  // namespace

std::string ArgumentText(const std::string& commandLine) {
  size_t i = 0;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    // A quoted program name runs to the closing quote (Windows' own rule).
    const size_t close = commandLine.find('"', i + 1);
    i = close == std::string::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

bool IsUsableDataFile(FileSystem& files, const std::string& path) {
  // A pattern would make the search find some other file.
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  bool found = false;
  for (const DirEntry& e : files.List(path)) {
    if ((e.attributes & (attr::Directory | attr::Hidden | attr::System)) == 0) found = true;
  }
  if (!found) return false;
  const auto length = files.FileLength(path);
  return length && *length > 0;
}

void LoadSplitForm(SplitView& view, Services& sys, SplitState& state, const std::string& dataFile,
                   bool previousInstance) {
  view.MoveTo(kWindowLeft, kWindowTop);
  // The other copy may be in the middle of writing the same file.
  if (previousInstance) Refuse(sys, kvb_texts::kOtherSession);
  state.animFrame = 0;
  if (!IsUsableDataFile(sys.files, dataFile)) {
    sys.ui.Beep();
    Refuse(sys, kvb_texts::kCannotRunAlone);
  }
  view.SetTopMost(true);
}

}  // namespace tessaro::kvb
