// A component that imports version.dll, as many do: loaded to be registered,
// its imports must come from its own folder or the system folder, never from
// the folder of the program that loads it.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  wchar_t self[MAX_PATH] = {};
  DWORD ignored = 0;
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return GetFileVersionInfoSizeW(self, &ignored) ? S_OK : E_FAIL;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
