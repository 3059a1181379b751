#pragma once
// The title of the installer's message boxes: the package's short name and
// " setup".
#include <string>

#include "installer_state.h"
#include "texts.h"

namespace tessaro {

inline std::string BoxTitle(InstallerContext& cx) {
  return cx.pkg().AppShortName + texts::kBoxTitleSuffix;
}

}  // namespace tessaro
