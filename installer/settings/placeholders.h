#pragma once
// Placeholder tokens in the package's lines: "§§KV_name§§", matched without
// regard to the case of the ASCII letters, replaced by values known only on
// the target machine (destination folder, application names, Windows folders).
#include <string>

#include "installer_state.h"

namespace tessaro {

// Replaces every known token of the line, table entry by table entry, each
// occurrence once, left to right. In registry mode (forRegistry) the path
// values are escaped for the quoted data of a registry import file. Tokens
// not in the table, and lone section signs, pass through unchanged. Values
// are looked up afresh on every call; nothing is reported.
std::string ExpandPlaceholders(InstallerContext& cx, const std::string& text, bool forRegistry);

// True for the name of a token the installer replaces (between the two
// "§§", ASCII letters in either case): what a package may use.
bool IsPlaceholderName(const std::string& name);

// Every "\" doubled, except a final "\", which is dropped.
std::string EscapeBackslashes(const std::string& value);

}  // namespace tessaro
