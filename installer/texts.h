#pragma once
// Every message, caption and fixed file line the installer shows or writes,
// kept together so they are easy to check against each other.

namespace tessaro::texts {

inline constexpr const char* kWizardCaption = "Tessaro Installer";
inline constexpr const char* kProgramTitle = "Installer";
inline constexpr const char* kBoxTitleSuffix = " setup";

// Start-up
inline constexpr const char* kSafeModeQuestion =
    "Windows è in modalità provvisoria. Continuare comunque con l'installazione?";
inline constexpr const char* kSafeModeTitle = "Setup";
inline constexpr const char* kMissingFileBefore = "Impossibile trovare ";
inline constexpr const char* kMissingFileAfter = ". Il file è necessario per eseguire l'installazione.";
inline constexpr const char* kMissingFileTitle = "Errore critico";
inline constexpr const char* kStartupError = "Errore critico di installazione #410#.";
inline constexpr const char* kAppTitlePrefix = "Installazione di ";
inline constexpr const char* kAppTitleDesign = "Titolo Applicazione";

// Destination folder
inline constexpr const char* kNoDrive = "Unità di destinazione ERRATA o MANCANTE.";
inline constexpr const char* kForbiddenCharacters = "Il percorso contiene caratteri NON consentiti.";
inline constexpr const char* kNetworkPath = "Percorso di rete NON AMMESSO.";
inline constexpr const char* kFolderHoldsFiles =
    "Il percorso scelto contiene già dei files. Se si sceglie di continuare, i file verranno "
    "sovrascritti. Proseguire comunque con l'installazione?";
inline constexpr const char* kChooseAnotherPath = "Specificare un altro percorso e riprovare.";
inline constexpr const char* kCreateMissingFolder = "Il percorso non esiste: si desidera crearlo?";
inline constexpr const char* kCannotCreatePath = "Impossibile creare il percorso.";
inline constexpr const char* kBadPathOrError = "Percorso errato o errore non previsto.";

}  // namespace tessaro::texts
