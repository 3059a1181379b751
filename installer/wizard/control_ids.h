#pragma once
// Child-window ids and the window class of the wizard form, shared with the
// tests that find and read its controls.

namespace tessaro::ids {

inline constexpr const wchar_t* kFrmSetupClass = L"TessaroFrmSetup";

inline constexpr int Apptitle = 1001;
inline constexpr int AppName = 1002;
inline constexpr int Welcome = 1003;
inline constexpr int ESCI_ORA = 1010;

// Image buttons, stacked per slot (the first of a slot lies on top).
inline constexpr int Previous_Disabilitato = 1020;
inline constexpr int Previous = 1021;
inline constexpr int Previus_Blu = 1022;
inline constexpr int NextStep = 1023;
inline constexpr int Avanti_Blu = 1024;
inline constexpr int EndSetup = 1025;
inline constexpr int EndSetup_giallo = 1026;

}  // namespace tessaro::ids
