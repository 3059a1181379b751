#pragma once
// Child-window ids and the window class of the wizard form, shared with the
// tests that find and read its controls.

namespace tessaro::ids {

inline constexpr const wchar_t* kFrmSetupClass = L"TessaroFrmSetup";

inline constexpr int Apptitle = 1001;
inline constexpr int AppName = 1002;
inline constexpr int Welcome = 1003;
inline constexpr int ESCI_ORA = 1010;

}  // namespace tessaro::ids
