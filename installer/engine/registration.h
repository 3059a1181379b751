#pragma once
// The last step of installing a file: making it known to Windows by its type.
// ActiveX libraries and controls register themselves through regsvr32;
// TrueType fonts go into the font list (on Windows 95/98/Me only: NT-based
// Windows keeps that list itself).
#include <string>

#include "seams/services.h"

namespace tessaro {

// The upper-case text after the first "." of the path: "files\x.y.dll" gives
// "Y.DLL", which is no library type, so such a file is not registered. A path
// without a "." has no type.
std::string InstallFileType(Platform& platform, const std::string& sourcePath);

// Registers the file installed at destinationPath by the type of sourcePath:
// "OCX" and "DLL" start "regsvr32 "<destination>" /S" minimized without
// waiting (its result is not looked at); "TTF" writes the font value under
// HKLM\Software\microsoft\windows\currentversion\fonts, when that key exists,
// and announces the change; other types do nothing. Throws RuntimeError 53
// when regsvr32 cannot be started. Returns what was done, for the
// transcript ("" for a type that needs nothing).
std::string RegisterComponent(Services& sys, const std::string& sourcePath,
                       const std::string& destinationPath);

}  // namespace tessaro
