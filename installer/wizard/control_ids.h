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
// The buttons those images make: the images of one button share its slot.
namespace slot {
inline constexpr int Back = 0, Next = 1, Cancel = 2;
}  // namespace slot

// The pages' controls. The two licence options are children of their frame.
inline constexpr int Accettazione = 1030;
inline constexpr int Lic_Accetto = 1031;
inline constexpr int Lic_NonAccetto = 1032;
inline constexpr int SelPath = 1033;
inline constexpr int CopyPath = 1034;
inline constexpr int Browse = 1035;
inline constexpr int ErroreSpazio = 1036;
inline constexpr int PrgGroup = 1037;
inline constexpr int PrgIco = 1038;
inline constexpr int DeskShort = 1039;
inline constexpr int lblStatus0 = 1040;
inline constexpr int lblStatus1 = 1041;
inline constexpr int picStatus0 = 1042;
inline constexpr int picStatus1 = 1043;
inline constexpr int tmrTime = 1050;  // timer id

// The quit dialog FrmQuit.
namespace quit {
inline constexpr const wchar_t* kClass = L"TessaroFrmQuit";
inline constexpr int Label1 = 1101;
inline constexpr int Label2 = 1102;
inline constexpr int Label3 = 1103;
inline constexpr int Label4 = 1104;
inline constexpr int Label5 = 1105;
inline constexpr int BackToSetup = 1110;
inline constexpr int BackToSetup_Blu = 1111;
inline constexpr int EndSetup = 1112;
inline constexpr int EndSetup_giallo = 1113;
namespace slot {
inline constexpr int Back = 0, Exit = 1;
}  // namespace slot
}  // namespace quit

// The waiting window FrmRegistry.
namespace waiting {
inline constexpr const wchar_t* kClass = L"TessaroFrmRegistry";
inline constexpr int Attesa = 1201;
}  // namespace waiting

}  // namespace tessaro::ids
