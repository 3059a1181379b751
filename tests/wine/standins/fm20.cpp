// Stand-in for the forms library. Registering it leaves a mark a test can read:
// HKCU\Software\Tessaro Test\fm20, "Registered" = 1 (and "Unregistered" = 1).
#include <windows.h>

namespace {

struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle) RegCloseKey(handle);
  }
};

HRESULT mark(const wchar_t* value) {
  Key key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tessaro Test\\fm20", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key.handle, nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  DWORD one = 1;
  if (RegSetValueExW(key.handle, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                     sizeof one) != ERROR_SUCCESS)
    return E_FAIL;
  return S_OK;
}

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer() { return mark(L"Registered"); }
extern "C" HRESULT __stdcall DllUnregisterServer() { return mark(L"Unregistered"); }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
