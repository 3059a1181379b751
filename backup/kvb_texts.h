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
inline constexpr const char* kFileTooLarge = "Il file ";
inline constexpr const char* kFileTooLargeEnd =
    " è troppo grande per un Set di Backup: un Set può contenere al massimo 2.147.483.647 byte.";
inline constexpr const char* kRebuiltFileDiffers =
    "Il file ricostruito dal Set di Backup non è identico a quello salvato: ";
inline constexpr const char* kRebuiltFileDiffersEnd = " non è stato modificato.";
inline constexpr const char* kDataFileInUse =
    "Impossibile sostituire il file, in uso da un altro programma (chiudere l'applicazione e "
    "riprovare): ";
inline constexpr const char* kEmptyFile = "Il file ";
inline constexpr const char* kEmptyFileEnd = " è vuoto: non c'è nulla da salvare.";
inline constexpr const char* kPathNotRestorable =
    "Il percorso del file non è completo (unità o \\\\server\\condivisione, cartelle e nome, "
    "senza «.» o «..»): un Set di Backup di questo file non potrebbe essere ripristinato.\r\n\r\n";
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

// Making a backup set. Numbers in messages are plain decimal.
inline constexpr const char* kFloppiesNeeded = "Per questo Backup occorrono ";
inline constexpr const char* kFloppiesNeededEnd =
    " floppy disk(s).\r\n\r\nInserire il primo Floppy disk: l'intero contenuto del Floppy sarà "
    "CANCELLATO.";
inline constexpr const char* kBackupCancelled = "Backup annullato dall'Utente.";
inline constexpr const char* kFloppyOfThisSet =
    "E' stato inserito un Floppy appartenente a questo Backup.\r\n\r\nSostituire e scegliere OK.";
inline constexpr const char* kLabelWriteError = "Errore durante la scrittura sull'unità A:";
inline constexpr const char* kInsertFloppy = "Inserire il floppy numero ";
inline constexpr const char* kBackupDone = "Backup completato.";
// What the program adds: the recovery floppy, asked about after the count of
// floppies (Yes is the default) and asked for after the last floppy.
inline constexpr const char* kOfferRecoveryFloppy =
    "Preparare anche un floppy di ripristino (un floppy in più, chiesto per ultimo)?\r\n\r\n"
    "Se un floppy del Set andasse perso o danneggiato, il Backup potrà comunque essere "
    "ripristinato.";
inline constexpr const char* kInsertRecoveryFloppy = "Inserire il floppy di ripristino.";
// What the program adds: a floppy that did not keep what was written to it.
inline constexpr const char* kVerifyFailed =
    "Verifica non riuscita: i dati letti dal floppy non corrispondono a quelli scritti.";

// Restoring a backup set.
inline constexpr const char* kCloseApplication =
    "Al fine di evitare che gli Archivi siano in USO, prima di effettuare il ripristino è "
    "NECESSARIO CHIUDERE «";
inline constexpr const char* kCloseApplicationEnd = "».";
inline constexpr const char* kInsertFirstFloppy = "Inserire il primo floppy del Set di Backup.";
inline constexpr const char* kNotFirstFloppy = "Il disco inserito non è il primo del Set di Backup.";
inline constexpr const char* kSetSize = "Questo Backup è costituito da ";
inline constexpr const char* kSetSizeEnd =
    " floppy disk(s).\r\n\r\nGli archivi saranno ripristinati nella posizione originaria: \r\n";
inline constexpr const char* kRestoreCancelled = "Ripristino annullato dall'Utente.";
inline constexpr const char* kWrongFloppy = "Disco errato: inserire il floppy numero ";
inline constexpr const char* kOtherSetFloppy =
    "E' stato inserito un Disco appartenente ad un altro Set di Backup: inserire il floppy numero ";
inline constexpr const char* kRetryEnd = ".\r\n\r\nScegliere OK per riprovare.";
inline constexpr const char* kRestoreDone = "Ripristino completato correttamente.";
inline constexpr const char* kRestoreFailed = "Errore sconosciuto: ripristino fallito.";
// What the program adds: a catalogue no set of this program has, and a piece
// that did not come off the floppy whole.
inline constexpr const char* kBadCatalogue =
    "Il catalogo presente sul floppy non descrive un Set di Backup valido: il ripristino non può "
    "essere eseguito.";
inline constexpr const char* kPieceUnreadable = "Impossibile leggere correttamente il file ";
inline constexpr const char* kPieceUnreadableFloppy = " dal floppy numero ";
inline constexpr const char* kPieceUnreadableRecovery = " dal floppy di ripristino";
// A floppy whose file is not what the backup wrote (its checksum differs):
// "Il floppy numero k è danneggiato: il file P non contiene i dati scritti
// dal Backup".
inline constexpr const char* kDamagedFloppy = "Il floppy numero ";
inline constexpr const char* kDamagedRecoveryFloppy = "Il floppy di ripristino";
inline constexpr const char* kDamagedFileAt = " è danneggiato: il file ";
inline constexpr const char* kDamagedFileEnd = " non contiene i dati scritti dal Backup";
// A floppy given up (Cancel at its retry) in a set with a recovery floppy.
inline constexpr const char* kRebuildFloppy = "Ricostruire il floppy numero ";
inline constexpr const char* kRebuildFloppyEnd =
    " con il floppy di ripristino, che sarà chiesto alla fine?";
inline constexpr const char* kWrongRecoveryFloppy = "Disco errato: inserire il floppy di ripristino";
inline constexpr const char* kOtherSetRecoveryFloppy =
    "E' stato inserito un Disco appartenente ad un altro Set di Backup: inserire il floppy di "
    "ripristino";
inline constexpr const char* kTwoFloppiesLost = "Mancano il floppy numero ";
inline constexpr const char* kTwoFloppiesLostAnd = " e il floppy numero ";
inline constexpr const char* kTwoFloppiesLostEnd =
    ": il floppy di ripristino ne può sostituire uno solo. Il ripristino non può essere "
    "eseguito; il file dei dati non è stato modificato.";
inline constexpr const char* kRebuiltPieceDiffers = "Il floppy numero ";
inline constexpr const char* kRebuiltPieceDiffersEnd =
    " ricostruito non corrisponde a quello scritto dal Backup: il ripristino non può essere "
    "eseguito; il file dei dati non è stato modificato.";
// A piece read whole from its floppy that the hard disk would not take.
inline constexpr const char* kHardDiskWriteFailed =
    "Errore del disco rigido: impossibile scrivere il file ";

// An error that reached a button's handler without a description of its own.
inline constexpr const char* kOutOfMemory = "Memoria insufficiente per completare l'operazione.";

// The byte counter under the animation, followed by the grouped count.
inline constexpr const char* kBytesCopied = "Bytes copiati: ";

}  // namespace tessaro::kvb_texts
