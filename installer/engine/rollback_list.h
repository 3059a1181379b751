#pragma once
// The rollback list Uninstall.Tmp in the setup folder: every file the copy
// phase creates, listed before its copy starts, so that a cancel at any
// moment can delete what the run made, the part of a file being written
// included.
#include <string>

#include "installer_state.h"

namespace tessaro {

// The list, open for the copy phase. It is held in InstallerState and every
// line goes straight to the file (nothing waits in a buffer of ours), so the
// file is complete whenever the run stops. The cancel handler goes by the
// copy kept in InstallerState::CreatedFiles, never by the file.
class RollbackList {
 public:
  // Creates the list in the setup folder; throws RuntimeError 75 when it
  // cannot.
  RollbackList(InstallerContext& cx, const std::string& setupFolder);
  // Closes the list.
  ~RollbackList();
  RollbackList(const RollbackList&) = delete;
  RollbackList& operator=(const RollbackList&) = delete;

  // Adds the path to the run's list and as a line to the file; throws
  // RuntimeError 75 when the line cannot be written.
  void Add(const std::string& path);

 private:
  InstallerContext& cx_;
  std::string path_;
};

}  // namespace tessaro
