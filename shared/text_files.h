#pragma once
// Text files in the system's ANSI code page, seen as UTF-8 inside the program.
// Lines written end with CR LF.
#include <string>
#include <vector>

#include "seams/files.h"
#include "seams/platform.h"

namespace tessaro {

// The whole file as text; throws RuntimeError 53 when it cannot be read.
std::string ReadTextFile(FileSystem& files, Platform& platform, const std::string& path);

// Creates or replaces the file with these lines.
FileStatus WriteTextLines(FileSystem& files, Platform& platform, const std::string& path,
                          const std::vector<std::string>& lines);

// Adds one line at the end, creating the file when missing.
FileStatus AppendTextLine(FileSystem& files, Platform& platform, const std::string& path,
                          const std::string& line);

// The same two for a file the program cannot go on without: a failure
// throws RuntimeError 75 naming the file.
void WriteTextLinesOrFail(FileSystem& files, Platform& platform, const std::string& path,
                          const std::vector<std::string>& lines);
void AppendTextLineOrFail(FileSystem& files, Platform& platform, const std::string& path,
                          const std::string& line);

}  // namespace tessaro
