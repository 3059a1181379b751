#include "registry_win.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <vector>

#include "handles.h"
#include "wide.h"

namespace tessaro {

// The open keys by the number handed out for them.
struct Win32Registry::OpenKeys {
  std::map<RegKey, RegKeyHandle> byNumber;
};

Win32Registry::Win32Registry() : keys_(std::make_unique<OpenKeys>()) {}
Win32Registry::~Win32Registry() = default;

namespace {

constexpr int32_t kInvalidHandle = ERROR_INVALID_HANDLE;

// Reads the value's data, growing the buffer while another writer makes it
// larger between the size query and the read.
LONG ReadValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& bytes) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    LONG code = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (code != ERROR_SUCCESS) return code;
    bytes.assign(size + sizeof(wchar_t), 0);  // room for a missing terminator
    size = static_cast<DWORD>(bytes.size());
    code = RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
    if (code != ERROR_MORE_DATA) {
      bytes.resize(size);
      return code;
    }
  }
  return ERROR_MORE_DATA;
}

}  // namespace

int32_t Win32Registry::OpenKey(uint32_t root, const std::string& path, uint32_t access,
                               RegKey& key) {
  key = 0;
  HKEY opened = nullptr;
  HKEY rootKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(root));
  LONG code = RegOpenKeyExW(rootKey, Widen(path).c_str(), 0, access, &opened);
  if (code != ERROR_SUCCESS) return code;
  key = reinterpret_cast<RegKey>(opened);
  keys_->byNumber[key] = RegKeyHandle(opened);
  return 0;
}

int32_t Win32Registry::QueryValue(RegKey key, const std::string& name, RegData& data) {
  auto open = keys_->byNumber.find(key);
  if (open == keys_->byNumber.end()) return kInvalidHandle;
  DWORD type = 0;
  std::vector<BYTE> bytes;
  LONG code = ReadValue(open->second.Get(), Widen(name), type, bytes);
  if (code != ERROR_SUCCESS) return code;

  data = RegData{};
  data.type = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    // The stored characters as they are, terminating NUL included when the
    // writer stored one; an odd last byte is no character.
    data.text =
        Narrow(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  } else if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, bytes.data(),
                bytes.size() < sizeof(number) ? bytes.size() : sizeof(number));
    data.number = static_cast<int32_t>(number);
  }
  return 0;
}

int32_t Win32Registry::SetValue(RegKey key, const std::string& name, const RegData& data) {
  auto open = keys_->byNumber.find(key);
  if (open == keys_->byNumber.end()) return kInvalidHandle;
  HKEY hkey = open->second.Get();
  std::wstring wideName = Widen(name);
  if (data.type == REG_SZ || data.type == REG_EXPAND_SZ) {
    // Stored with its terminator: readers that trust the data to end in NUL
    // (most of them) would otherwise run past it.
    std::wstring text = Widen(data.text);
    if (text.empty() || text.back() != L'\0') text.push_back(L'\0');
    return RegSetValueExW(hkey, wideName.c_str(), 0, data.type,
                          reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  }
  if (data.type == REG_DWORD) {
    DWORD number = static_cast<DWORD>(data.number);
    return RegSetValueExW(hkey, wideName.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof(number));
  }
  return RegSetValueExW(hkey, wideName.c_str(), 0, data.type,
                        reinterpret_cast<const BYTE*>(data.text.data()),
                        static_cast<DWORD>(data.text.size()));
}

int32_t Win32Registry::CloseKey(RegKey key) {
  auto open = keys_->byNumber.find(key);
  if (open == keys_->byNumber.end()) return kInvalidHandle;
  HKEY hkey = open->second.Release();
  keys_->byNumber.erase(open);
  return RegCloseKey(hkey);
}

}  // namespace tessaro
