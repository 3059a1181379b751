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

}  // namespace tessaro::kvb_texts
