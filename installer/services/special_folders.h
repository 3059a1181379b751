#pragma once
// Where Windows keeps things: shell special folders, the Windows and system
// folders, and the program groups under the user's Programs folder. None of
// these reports an error; a folder that cannot be found is an empty text.
#include <cstdint>
#include <string>

#include "seams/services.h"

namespace tessaro {

// Shell folder codes (CSIDL) the installer asks for.
namespace csidl {
constexpr int32_t Desktop = 0;
constexpr int32_t Programs = 2;
constexpr int32_t Fonts = 20;
constexpr int32_t ProgramFiles = 38;
constexpr int32_t CommonFiles = 43;
}  // namespace csidl

// The folder with a trailing "\". Program Files (38) and the common program
// files (43) come from the registry, "\" alone when the value is missing;
// every other code comes from the shell, empty when it cannot resolve it.
std::string GetSpecialFolder(Services& sys, int32_t code);

// The Windows system folder and the Windows folder, lower case, no trailing "\".
std::string GetSystemFolder(Services& sys);
std::string GetWindowsFolder(Services& sys);

// The name of the index-th (1-based) folder under the Programs folder, in the
// file system's order; hidden and system entries and names beginning with "."
// do not count. Empty after the last one, or when there is no Programs folder.
std::string ProgramGroupName(Services& sys, int index);

}  // namespace tessaro
