#include "wizard/startup.h"

#include "engine/package_load.h"
#include "text.h"
#include "texts.h"

namespace tessaro {

std::string AppNameCaption(Platform& platform, const std::string& appFullName) {
  size_t blank = appFullName.find(" v.");
  if (blank == std::string::npos) return {};
  return platform.UpperCase(appFullName.substr(0, blank + 1));
}

std::string AppTitleCaption(Platform& platform, const std::string& appFullName) {
  return texts::kAppTitlePrefix + platform.UpperCase(appFullName);
}

std::string ReplaceWelcomeMarkers(const std::string& text, const std::string& appFullName) {
  // Each marker: everything before it, blanks trimmed at both ends, then one
  // blank and the name; the text after the last marker loses its trailing
  // blanks. Built in one pass: the part before a marker is trimmed where it
  // ends, and at its start only while it is still short.
  size_t at = text.find('@');
  if (at == std::string::npos) return text;
  std::string result;
  size_t from = 0;
  for (; at != std::string::npos; at = text.find('@', from)) {
    result.append(text, from, at - from);
    while (!result.empty() && result.back() == ' ') result.pop_back();
    const size_t lead = result.find_first_not_of(' ');
    result.erase(0, lead == std::string::npos ? result.size() : lead);
    result += ' ';
    result += appFullName;
    from = at + 1;
  }
  return result + TrimRightBlanks(text.substr(from));
}

void FormLoad(InstallerContext& cx, WizardView& view) {
  // The wizard stays open with whatever was shown before an error.
  RunStartupStep(cx, [&] {
    view.ApplyOutline();
    LoadPackage(cx);
    Platform& platform = cx.sys.platform;
    view.SetAppName(AppNameCaption(platform, cx.pkg().AppFullName));
    view.SetAppTitle(AppTitleCaption(platform, cx.pkg().AppFullName));
    view.SetWelcome(ReplaceWelcomeMarkers(ReadWelcomeText(cx), cx.pkg().AppFullName));
  });
}

}  // namespace tessaro
