#pragma once
// Child-window ids and the window class of the backup program's main window,
// shared with the Wine tests that drive it.
namespace tessaro::kvb::ids {

inline constexpr const wchar_t* kFrmSplitClass = L"TessaroFrmSplit";

inline constexpr int Frame1 = 2001;
inline constexpr int picAnim = 2002;
inline constexpr int lblStatus = 2003;
inline constexpr int picStatusPartial = 2004;  // picStatus element 0
inline constexpr int picStatusTotal = 2005;    // picStatus element 1
inline constexpr int Label1 = 2006;
inline constexpr int Label2 = 2007;
inline constexpr int MakeBackup = 2010;
inline constexpr int RestoreBackup = 2011;
inline constexpr int Chiudi = 2012;

}  // namespace tessaro::kvb::ids
