#include "engine/package_shortcuts.h"

#include <exception>
#include <functional>

#include "box_title.h"
#include "services/shortcuts.h"
#include "services/special_folders.h"
#include "texts.h"

namespace tessaro {

void CreateShortcuts(InstallerContext& cx, bool desktop, const std::string& systemFolder) {
  const PackageValues& pkg = cx.pkg();
  const std::string& destination = pkg.InstallPath;
  const std::string& group = pkg.ProgramGroup;
  auto inDestination = [&](const std::string& name) { return destination + "\\" + name; };
  const std::string icon = inDestination(pkg.IconFile);
  // Cancelling is off by now: a shortcut that cannot be made (a special
  // folder Windows does not resolve) is left out, and the run goes on to
  // the uninstall script, the completion box and the end of setup. The user
  // is told once that some are missing.
  bool leftOut = false;
  auto attempt = [&cx, &leftOut](const std::function<void()>& make) {
    try {
      make();
    } catch (const std::exception& error) {
      Note(cx, std::string("collegamento non creato: ") + error.what());
      leftOut = true;
    }
  };

  if (!pkg.MainProgram.empty()) {
    const std::string target = inDestination(pkg.MainProgram);
    attempt([&] { CreateShortcut(cx, csidl::Programs, group, target, pkg.AppFullName, "", icon); });
    if (desktop)
      attempt([&] { CreateShortcut(cx, csidl::Desktop, group, target, pkg.AppFullName, "", icon); });
  }
  if (!pkg.DatabaseFile.empty()) {
    attempt([&] {
      const std::string target =
          GetSpecialFolder(cx.sys, csidl::ProgramFiles) + texts::kAccessRuntime;
      const std::string arguments = " /wrkgrp \"" + inDestination(pkg.WorkgroupFile) + "\" \"" +
                                    inDestination(pkg.DatabaseFile) + "\" /user utente /runtime";
      attempt([&] {
        CreateShortcut(cx, csidl::Programs, group, target, pkg.AppFullName, arguments, icon);
      });
      if (desktop)
        attempt([&] {
          CreateShortcut(cx, csidl::Desktop, group, target, pkg.AppFullName, arguments, icon);
        });
    });
  }
  for (int i = 0; i < pkg.ShortcutCount && i < static_cast<int>(pkg.ExtraShortcuts.size()); ++i) {
    const ShortcutEntry& extra = pkg.ExtraShortcuts[i];
    attempt([&] {
      CreateShortcut(cx, csidl::Programs, group, inDestination(extra.Target), extra.Name, "",
                     inDestination(extra.Icon));
    });
  }
  const std::string uninstaller = systemFolder + "\\unplant.exe";
  attempt([&] {
    CreateShortcut(cx, csidl::Programs, group, uninstaller, texts::kUninstallShortcut,
                   "/" + destination, uninstaller);
  });
  if (leftOut)
    cx.sys.ui.ShowMessage(texts::kShortcutsLeftOut, BoxTitle(cx), MsgIcon::Exclamation,
                          MsgButtons::Ok);
}

}  // namespace tessaro
