#pragma once
// Every message and caption the backup program shows, kept together so they
// are easy to check against each other.

namespace tessaro::kvb_texts {

// The title of every message box of the program.
inline constexpr const char* kProgramTitle = "Tessaro Backup";

// Faults the program finds itself in a set, shown where Windows would give
// its own description of a failed call.
inline constexpr const char* kDamagedCatalogue = "Catalogo del Set di Backup danneggiato: ";
inline constexpr const char* kDamagedPiece = "File del Set di Backup danneggiato: ";
inline constexpr const char* kPiecesDoNotMatch =
    "I file del Set di Backup non corrispondono al catalogo: ";
inline constexpr const char* kFileTooLarge = "File troppo grande per un Set di Backup: ";
inline constexpr const char* kBadPieceSize = "Dimensione dei file del Set di Backup non valida.";
inline constexpr const char* kPathNotInCodePage =
    "Il percorso contiene caratteri non ammessi in un Set di Backup: ";

// Start-up refusals.
inline constexpr const char* kOtherSession =
    "Attenzione rilevata un'altra sessione di installazione.";
inline constexpr const char* kCannotRunAlone =
    "Questo programma NON può essere eseguito autonomamente.";

// Closing and aborting.
inline constexpr const char* kInterruptOperation = "Interrompere l'operazione in corso?";
inline constexpr const char* kExitNow = "Uscire adesso?";

// The main window's captions.
inline constexpr const char* kMakeBackupCaption = "Crea Set di &Backup";
inline constexpr const char* kRestoreBackupCaption = "&Ripristina Backup";
inline constexpr const char* kCloseCaption = "&Chiudi";
inline constexpr const char* kAbortCaption = "&Annulla";
inline constexpr const char* kTotalLabel = "Totale";
inline constexpr const char* kPartialLabel = "Parziale";

// The byte counter under the animation, followed by the grouped count.
inline constexpr const char* kBytesCopied = "Bytes copiati: ";

}  // namespace tessaro::kvb_texts
