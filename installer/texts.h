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

// Copying files
inline constexpr const char* kCopyingFile = "Copia di ";
inline constexpr const char* kBytesCopied = "Bytes copiati: ";
inline constexpr const char* kRenameSection = "[rename]";

// Drive report of the destination page
inline constexpr const char* kDriveInfoHeading = " Informazioni sull'unità ";
inline constexpr const char* kUsedSpace = "  - Spazio utilizzato sul disco: ";
inline constexpr const char* kFreeSpace = "  - Spazio disponibile: ";
inline constexpr const char* kRequiredSpace = "  - Spazio richiesto: ";
inline constexpr const char* kBytes = " bytes";
inline constexpr const char* kFileSystemName = "  - Tipo di File-System: ";
inline constexpr const char* kVolumeName = "  - Etichetta di Volume : ";
inline constexpr const char* kMediaType = "  - Tipo di supporto: ";
// Drive types by GetDriveType code 1..6; any other code is "*ERROR*".
inline constexpr const char* kDriveTypeNames[] = {"Sconosciuto", "Rimuovibile", "Disco rigido",
                                                  "Remoto",      "CD-ROM",      "Disco RAM"};
inline constexpr const char* kDriveTypeError = "*ERROR*";
inline constexpr const char* kWrongMedia =
    "ATTENZIONE:\r\nTipo di supporto non valido. Provare a cambiare il supporto, ad es. 'C:\\'";
inline constexpr const char* kSpaceShort = "ATTENZIONE: lo spazio disponibile è INSUFFICIENTE.";
inline constexpr const char* kDriveUnreadable =
    "ATTENZIONE:\r\nImpossibile leggere le informazioni dall'unità scelta.";

// Restarting Windows
inline constexpr const char* kCannotRestart =
    "Il sistema non può essere riavviato, si è verificato un errore.";
inline constexpr const char* kNoRestartRights =
    "L'utente corrente non dispone dei diritti per il riavvio del sistema";
// Only the first of these has a blank before its line break.
inline constexpr const char* kPrivilegeTokenError =
    "Si è verificato un errore per l'ACCESSO ai diritti di riavvio. \r\nCodice Errore PRIV-001";
inline constexpr const char* kPrivilegeLookupError =
    "Si è verificato un errore per l'ACCESSO ai diritti di riavvio.\r\nCodice Errore PRIV-002";
inline constexpr const char* kPrivilegeAdjustError =
    "Si è verificato un errore per l'ACCESSO ai diritti di riavvio.\r\nCodice Errore PRIV-003";

}  // namespace tessaro::texts
