#pragma once
// The registry seam over advapi32's wide functions. Keys opened here are
// owned by the object until CloseKey, and closed with it at the latest.
#include <memory>

#include "seams/registry.h"

namespace tessaro {

class Win32Registry : public Registry {
 public:
  Win32Registry();
  ~Win32Registry() override;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

  int32_t OpenKey(uint32_t root, const std::string& path, uint32_t access, RegKey& key) override;
  int32_t QueryValue(RegKey key, const std::string& name, RegData& data) override;
  int32_t SetValue(RegKey key, const std::string& name, const RegData& data) override;
  int32_t CloseKey(RegKey key) override;

 private:
  struct OpenKeys;
  std::unique_ptr<OpenKeys> keys_;
};

}  // namespace tessaro
