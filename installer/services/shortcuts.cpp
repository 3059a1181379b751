#include "services/shortcuts.h"

#include "errors.h"
#include "services/special_folders.h"
#include "text_files.h"

namespace tessaro {

void MakeFolderQuiet(FileSystem& files, const std::string& path) { files.CreateFolder(path); }

void CreateShortcut(InstallerContext& cx, int32_t code, const std::string& group,
                    const std::string& target, const std::string& name,
                    const std::string& arguments, const std::string& icon) {
  Services& sys = cx.sys;
  std::string folder = GetSpecialFolder(sys, code);
  // Without the special folder the path would be relative to the setup
  // folder, which is emptied at the end: fail as the shortcut writer would.
  if (folder.empty())
    throw RuntimeError(err::Automation,
                       "Automation error: special folder " + std::to_string(code) + " not found");
  if (code != csidl::Desktop) {
    if (!group.empty()) MakeFolderQuiet(sys.files, folder + group);
    folder += group + "\\";
  }
  std::string link = folder + name + ".Lnk";

  // Recorded before the file exists, so that the uninstaller also finds a
  // shortcut whose writing was cut short.
  std::string script = cx.pkg().InstallPath + "\\Uninstall.ini";
  AppendTextLineOrFail(sys.files, sys.platform, script, "LNK=" + link);

  ShortcutFile shortcut{link, target, cx.pkg().InstallPath, arguments, icon};
  if (!sys.shell.WriteShortcut(shortcut))
    throw RuntimeError(err::Automation, "Automation error: cannot write the shortcut " + link);
  Note(cx, "collegamento: " + link + " -> " + target +
               (arguments.empty() || arguments[0] == ' ' ? arguments : " " + arguments));
}

}  // namespace tessaro
