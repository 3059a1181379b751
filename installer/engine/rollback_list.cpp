#include "engine/rollback_list.h"

#include "errors.h"

namespace tessaro {

RollbackList::RollbackList(InstallerContext& cx, const std::string& setupFolder)
    : cx_(cx), path_(setupFolder + "\\Uninstall.Tmp") {
  // The setup folder is the user's: whatever stands at the name (a link to a
  // file of the system's, say) goes as itself, and the list is a new file.
  cx.sys.files.DeleteWithoutFollowing(path_);
  FileStatus status;
  cx.state.RollbackList = cx.sys.files.CreateNew(path_, status);
  if (!cx.state.RollbackList) throw PathFileAccessError(path_);
}

RollbackList::~RollbackList() { cx_.state.RollbackList.reset(); }

void RollbackList::Add(const std::string& path) {
  cx_.state.CreatedFiles.push_back(path);
  const std::string line = cx_.sys.platform.ToAnsi(path + "\r\n");
  if (!cx_.state.RollbackList->Write(line.data(), line.size())) throw PathFileAccessError(path_);
}

}  // namespace tessaro
