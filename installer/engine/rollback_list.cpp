#include "rollback_list.h"

#include "errors.h"

namespace tessaro {

RollbackList::RollbackList(InstallerContext& cx, const std::string& setupFolder)
    : cx_(cx), path_(setupFolder + "\\Uninstall.Tmp") {
  FileFault fault = FileFault::None;
  cx.state.RollbackList = cx.sys.files.OpenForWriting(path_, fault);
  if (!cx.state.RollbackList) throw PathFileAccessError(path_);
}

RollbackList::~RollbackList() { cx_.state.RollbackList.reset(); }

void RollbackList::Add(const std::string& path) {
  const std::string line = cx_.sys.platform.ToAnsi(path + "\r\n");
  if (cx_.state.RollbackList->Write(line.data(), line.size()) != FileFault::None)
    throw PathFileAccessError(path_);
}

}  // namespace tessaro
