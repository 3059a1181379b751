#pragma once
// Replacing a file at the next start of Windows, when another program holds
// it now: a complete copy waits beside it under a numbered name, and Windows
// moves it into place as it starts, by the [rename] section of wininit.ini on
// Windows 95/98/Me and by MoveFileEx's list on NT-based Windows.
#include <string>

#include "installer_state.h"

namespace tessaro {

// The first name that does not exist of the path with its extension replaced
// by 000, 001, ... ("COMCTL32.OCX" gives "COMCTL32.000"). A name without a
// "." among its last six characters gets ".000" ... added.
std::string NextFreeNumberedName(FileSystem& files, const std::string& path);

// Internet Explorer's own libraries (URLMON.DLL, WININET.DLL), which are
// never replaced behind its back.
bool NeverDeferred(const std::string& source);

// `temporary`, a complete copy, takes the place of `destination` at the next
// start of Windows; RestartNeeded is set. Always false: the file is not
// installed now.
bool ReplaceAtNextStart(InstallerContext& cx, const std::string& temporary,
                        const std::string& destination);

// `source` is copied whole to NextFreeNumberedName of `destination`, which
// another program holds open, and replaces it at the next start. Always
// false: the file is not installed now.
bool DeferToRestart(InstallerContext& cx, const std::string& source,
                    const std::string& destination);

// Takes back every replacement the run left for the next start (a cancelled
// run leaves none): the waiting copies are deleted, Windows' list and
// wininit.ini lose what the run added to them, and RestartNeeded is cleared.
void TakeBackDeferrals(InstallerContext& cx);

}  // namespace tessaro
