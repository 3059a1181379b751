#include "text_files.h"

#include "errors.h"

namespace tessaro {

std::string ReadTextFile(FileSystem& files, Platform& platform, const std::string& path) {
  auto bytes = files.ReadAll(path);
  if (!bytes) throw RuntimeError(err::FileNotFound, "File not found: " + path);
  return platform.FromAnsi(*bytes);
}

FileStatus WriteTextLines(FileSystem& files, Platform& platform, const std::string& path,
                          const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return files.WriteAll(path, platform.ToAnsi(text));
}

FileStatus AppendTextLine(FileSystem& files, Platform& platform, const std::string& path,
                          const std::string& line) {
  return files.Append(path, platform.ToAnsi(line + "\r\n"));
}

void WriteTextLinesOrFail(FileSystem& files, Platform& platform, const std::string& path,
                          const std::vector<std::string>& lines) {
  if (!WriteTextLines(files, platform, path, lines)) throw PathFileAccessError(path);
}

void AppendTextLineOrFail(FileSystem& files, Platform& platform, const std::string& path,
                          const std::string& line) {
  if (!AppendTextLine(files, platform, path, line)) throw PathFileAccessError(path);
}

}  // namespace tessaro
