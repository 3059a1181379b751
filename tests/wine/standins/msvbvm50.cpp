// Stand-in for the Visual Basic runtime: nothing but a DLL with a version
// resource, which is all an installer looks at before copying it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
