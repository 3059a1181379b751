#pragma once
// Everything a program asks of Windows, handed around as one bundle.
#include "seams/files.h"
#include "seams/platform.h"
#include "seams/processes.h"
#include "seams/registry.h"
#include "seams/shell.h"
#include "seams/ui.h"

namespace tessaro {

struct Services {
  UserInterface& ui;
  FileSystem& files;
  Registry& registry;
  Shell& shell;
  Processes& processes;
  Platform& platform;
};

}  // namespace tessaro
