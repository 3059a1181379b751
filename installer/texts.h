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
// "..", a device name (CON, NUL ...), a folder name ending in "." or a blank.
inline constexpr const char* kBadFolderName =
    "Il percorso contiene un nome di cartella NON consentito.";

// Program group
inline constexpr const char* kBadProgramGroup =
    "Gruppo di programmi NON AMMESSO: indicare solo il nome del gruppo, senza unità né percorso.";

// The transcript named with /LOG (the path follows each of these)
inline constexpr const char* kLogNotAFile =
    "L'opzione /LOG richiede il percorso di un file, non una periferica (CON, NUL, COM1, LPT1...) "
    "né un percorso che inizia con \\\\.\\ o \\\\?\\: ";
inline constexpr const char* kLogNotTranscript =
    "L'opzione /LOG indica un file esistente che non è un resoconto del programma di "
    "installazione; il file non viene modificato: ";
inline constexpr const char* kLogIsLink =
    "L'opzione /LOG indica un collegamento a un altro file o a una cartella; il collegamento non "
    "viene seguito: ";

// Wizard pages
inline constexpr const char* kLicenceNotAccepted = "Per procedere OCCORRE accettare la LICENZA D'USO.";
inline constexpr const char* kAcceptCaption = "A&ccetto (prosegue)";
inline constexpr const char* kRefuseCaption = "&Non accetto (non installa)";
inline constexpr const char* kDeskShortCaption = "Crea collegamento anche su Desktop";
inline constexpr const char* kChooseFolderCaption =
    "Occorre selezionare la cartella in cui si desidera installare l'applicazione. Fare clic sul "
    "pulsante di fianco al percorso per sfogliare le cartelle.";
inline constexpr const char* kChooseGroupCaption =
    "Digitare il nome del Gruppo di programmi in cui verranno create le icone, oppure scegliere un "
    "gruppo tra quelli già esistenti.";
// Two blanks after the comma.
inline constexpr const char* kSummaryCaption =
    "Il programma di installazione ha tutte le informazioni necessarie per procedere con la copia "
    "dei file. Se si desidera rivedere o modificare qualche impostazione, fare clic su «Indietro»,  "
    "altrimenti fare clic su «Avanti» per iniziare la copia dei files.";
inline constexpr const char* kSummaryPathHeading = "  Percorso di installazione:";
inline constexpr const char* kSummaryGroupHeading = "  Gruppo di programmi:";
inline constexpr const char* kSummaryIndent = "     ";
inline constexpr const char* kBrowseTitle = "Scegliere il percorso per l'installazione.";

// Cancelling and the quit dialog
inline constexpr const char* kQuitHeading = "FINE INSTALLAZIONE";
inline constexpr const char* kQuitNotComplete = "L'installazione non è completa.";
inline constexpr const char* kQuitNotInstalled =
    "Se si desidera uscire adesso dall'installazione, l'applicazione non sarà installata.";
inline constexpr const char* kQuitRunAgain =
    "Occorrerà eseguire nuovamente l'intera procedura di installazione dell'applicazione.";
inline constexpr const char* kQuitChoose =
    "Fare clic su «Indietro» per continuare l'installazione, oppure su «Uscita» per terminare.";
inline constexpr const char* kQuitBack = "Indietro";
inline constexpr const char* kQuitExit = "Uscita";
inline constexpr const char* kSetupInterrupted = "Installazione interrotta dall'Utente.";
inline constexpr const char* kCancellingInstallation = "Annullamento dell'installazione...";

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

// The installation run
inline constexpr const char* kShellComponentError =
    "Si è verificato un errore per il file KV_SHELL.DLL. L'installazione sarà terminata.";
inline constexpr const char* kUninstallerError =
    "Si è verificato un errore per il file Unplant.EXE. L'installazione sarà terminata.";
inline constexpr const char* kRuntimeError =
    "Si è verificato un errore per il file MsVBvm50.dll. L'installazione sarà terminata.";
inline constexpr const char* kFormsLibraryError =
    "Si è verificato un errore per il file FM20.DLL. L'installazione sarà terminata.";
inline constexpr const char* kProgramGroupLine = "Program Group: ";
inline constexpr const char* kFileNotCopied = "File non copiato: ";
inline constexpr const char* kWaitingRegistry = "Attendere: aggiornamento del registro in corso...";
inline constexpr const char* kWaitingShortcuts = "Creazione del gruppo di icone...";
inline constexpr const char* kUninstallShortcut = "Rimuovi dal sistema";
inline constexpr const char* kAccessRuntime = "OfficeRT\\MSACCESS.EXE";
// A run broken off by an error, and shortcuts that could not be made.
inline constexpr const char* kRunFailed =
    "Si è verificato un errore durante l'installazione. L'installazione sarà terminata.";
inline constexpr const char* kShortcutsLeftOut =
    "Non è stato possibile creare alcuni collegamenti del programma. L'applicazione è "
    "installata, ma alcune icone mancano dal gruppo di programmi o dal Desktop.";
inline constexpr const char* kInstallCompleted = "Installazione completata.";
inline constexpr const char* kRestartQuestion =
    "L'INSTALLAZIONE E' STATA COMPLETATA!\r\n\r\nPer rendere effettive le modifiche occorre "
    "RIAVVIARE il sistema.\r\nPer RIAVVIARE Windows adesso scegliere «OK».";

}  // namespace tessaro::texts
