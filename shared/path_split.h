#pragma once
// Path splitters shared by the installer and the backup program. Paths are
// UTF-8; "\" and ":" are single bytes there, so byte positions are safe.
#include <string>

namespace tessaro {

// The text after the last "\" (empty when the path ends in "\"); the path
// itself when it holds no "\".
std::string FileNamePart(const std::string& path);

// The path up to and including its last "\" or ":" ("C:\a\b.dll" gives
// "C:\a\", "C:b.dll" gives "C:"); empty when it holds neither, and empty for
// a path that begins with ":".
std::string FolderOfPath(const std::string& path);

// The path without its last character when that is a "\".
std::string WithoutFinalBackslash(std::string path);

// True for a name Windows keeps for a device in every folder, whatever
// follows its first "." and the blanks before it: "CON", "nul.txt" and
// "NUL .log" all open a device. COM and LPT take 0 to 9 and ¹ ² ³.
bool IsDeviceName(const std::string& name);

}  // namespace tessaro
