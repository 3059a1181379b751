// Making a floppy set and restoring from it, as a user feeds the floppies:
// fake disks that are swapped between prompts, a fixed date and a fixed label.
#include <gtest/gtest.h>

#include <set>

#include "fakes/fakes.h"
#include "floppy_set.h"
#include "crc32.h"
#include "kvb_texts.h"
#include "kvb_view_fake.h"
#include "set_checks.h"
#include "set_format.h"

namespace tessaro::kvb {
namespace {

using fakes::FakeDisk;
using fakes::FakeOp;
using fakes::ProgramEnded;
using fakes::ShownBox;
using testing::RecordingView;

constexpr const char* kDataFile = "C:\\Contabilità\\archivio.mdb";
constexpr const char* kLabel = "04242-24242";
constexpr const char* kTitle = "Tessaro Backup";
constexpr const char* kOfferRecovery =
    "Preparare anche un floppy di ripristino (un floppy in più, chiesto per ultimo)?\r\n\r\nSe un "
    "floppy del Set andasse perso o danneggiato, il Backup potrà comunque essere ripristinato.";
constexpr const char* kAskRecovery = "Inserire il floppy di ripristino.";

// Bytes that differ from piece to piece, so a piece put in the wrong place shows.
std::string Pattern(size_t size, uint32_t seed = 7) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 24);
  }
  return bytes;
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

struct TooManyBoxes {};

// A fake Windows with a floppy drive, the data file's folder and a user who
// feeds the floppies as the prompts ask.
struct FloppyDesk {
  FloppyDesk() {
    sys.platform.locale[0x0F] = ".";
    sys.files.AddFolder("C:\\KVB");
    sys.files.SetCurrentFolder("C:\\KVB");
    sys.files.InsertDisk('A', nullptr);
    // The user: puts in the floppy each prompt asks for, answers OK.
    sys.ui.onBox = [this](const ShownBox& box) -> std::optional<MsgAnswer> {
      // A flow that keeps asking would otherwise never end.
      if (sys.ui.boxes.size() > 100) throw TooManyBoxes{};
      if (user) return user(box);
      Feed(box);
      return std::nullopt;
    };
  }
  // Puts in the disk a prompt names: floppy 1 at the first question, disk 3
  // for the recovery floppy.
  void Feed(const ShownBox& box) {
    if (StartsWith(box.text, "Per questo Backup") || StartsWith(box.text, "Inserire il primo"))
      Insert(0);
    const std::string ask = "Inserire il floppy numero ";
    if (StartsWith(box.text, ask)) Insert(std::stoi(box.text.substr(ask.size())) - 1);
    if (box.text == kAskRecovery) Insert(3);
  }
  void Insert(int disk) { Insert(disk < 0 ? nullptr : &disks[disk]); }
  void Insert(FakeDisk* disk) {
    sys.files.InsertDisk('A', disk);
    inDrive = disk;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const ShownBox& b : sys.ui.boxes) texts.push_back(b.text);
    return texts;
  }
  // Runs a backup of the data file; true when the program ended.
  bool Backup(const std::string& dataFile = kDataFile) {
    try {
      RunClick(view, services, state, [&] {
        MakeBackup(view, services, state, counters, dataFile, [] { return std::string(kLabel); });
      });
    } catch (const ProgramEnded&) {
      Insert(-1);  // the disks keep what was written to them
      return true;
    }
    Insert(-1);
    return false;
  }
  // Runs a restore in a program started for `dataFile`.
  void Restore(const std::string& dataFile = kDataFile) {
    RunClick(view, services, state,
             [&] { RestoreBackup(view, services, state, counters, dataFile); });
    Insert(-1);
  }
  // A backup of `data` onto disks 0 to n-1 made by the program itself; the
  // boxes it showed are forgotten.
  void MakeSet(const std::string& data) {
    sys.files.AddFile(kDataFile, data);
    ASSERT_TRUE(Backup());
    sys.ui.boxes.clear();
    sys.ui.beeps = 0;
  }
  bool Idle() {
    return !view.timer && view.closeCaption == "&Chiudi" && view.buttons[SplitButton::MakeBackup] &&
           view.buttons[SplitButton::RestoreBackup];
  }

  fakes::FakeSystem sys;
  Services services = sys.services();
  RecordingView view;
  SplitState state;
  ByteCounters counters;
  FakeDisk disks[4];
  FakeDisk* inDrive = nullptr;
  std::function<std::optional<MsgAnswer>(const ShownBox&)> user;
};

struct FloppySet : ::testing::Test, FloppyDesk {};

TEST_F(FloppySet, BackupWritesOnePieceAFloppyUnderTheSetLabel) {
  struct Case {
    size_t size;
    int floppies;
    bool recovery;
  };
  for (Case c : {Case{1439865, 1, true}, Case{1439866, 2, false}, Case{3000000, 3, true}}) {
    SCOPED_TRACE(c.size);
    sys.ui.boxes.clear();
    for (FakeDisk& d : disks) d = FakeDisk{};
    // Floppy 2 comes from an older set: relabelled and emptied without a word.
    disks[1].label = "01111-11111";
    disks[1].files = {{"archivio.mdb.001", "vecchio"}, {"Vecchio\\x", "y"}};
    disks[1].folders = {"Vecchio"};
    const std::string data = Pattern(c.size);
    sys.files.AddFile(kDataFile, data);
    user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
      if (box.text == kOfferRecovery) return c.recovery ? MsgAnswer::Yes : MsgAnswer::No;
      Feed(box);
      return std::nullopt;
    };
    ASSERT_TRUE(Backup());

    std::vector<std::string> expected = {"Per questo Backup occorrono " + std::to_string(c.floppies) +
                                             " floppy disk(s).\r\n\r\nInserire il primo Floppy disk: "
                                             "l'intero contenuto del Floppy sarà CANCELLATO.",
                                         kOfferRecovery};
    for (int k = 2; k <= c.floppies; ++k) expected.push_back("Inserire il floppy numero " + std::to_string(k));
    if (c.recovery) expected.push_back(kAskRecovery);
    expected.push_back("Backup completato.");
    EXPECT_EQ(Texts(), expected);
    for (const ShownBox& b : sys.ui.boxes) {
      EXPECT_EQ(b.title, kTitle);
      EXPECT_EQ(b.icon, b.text == kOfferRecovery ? MsgIcon::Question : MsgIcon::Information);
    }
    EXPECT_EQ(sys.ui.boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(sys.ui.boxes[1].buttons, MsgButtons::YesNo);

    // Each floppy: its piece and its checksum file (the first also the
    // catalogue); the recovery floppy: the pieces' parity (for one floppy, a
    // second copy of the data) and every checksum.
    int64_t written = 0;
    std::vector<uint32_t> pieceCrcs;
    for (int k = 1; k <= c.floppies; ++k) {
      const FakeDisk& d = disks[k - 1];
      EXPECT_EQ(d.label, kLabel) << k;
      const std::string piece = "archivio.mdb." + PieceNumberText(k);
      std::vector<std::string> names;
      for (const auto& [name, bytes] : d.files) {
        names.push_back(name);
        written += int64_t(bytes.size());
      }
      std::vector<std::string> expectedNames{"KVBSET.CRC", piece};
      if (k == 1) expectedNames.insert(expectedNames.begin(), "071226.gbt");
      EXPECT_EQ(names, expectedNames);
      EXPECT_TRUE(d.folders.empty());
      EXPECT_EQ(d.files.at(piece), EncodePiece(data.substr((k - 1) * size_t(kPieceSize), kPieceSize)));
      pieceCrcs.push_back(Crc32Of(d.files.at(piece)));
      EXPECT_EQ(d.files.at("KVBSET.CRC"),
                EncodeFloppyChecks({kLabel, k, c.floppies, c.recovery, int32_t(c.size), Crc32Of(data),
                                    0, {pieceCrcs.back()}}));
    }
    std::string parity(std::min<size_t>(c.size, kPieceSize), '\0');
    for (size_t i = 0; i < data.size(); ++i) parity[i % kPieceSize] ^= data[i];
    const FakeDisk& r = disks[3];
    EXPECT_EQ(r.label, c.recovery ? kLabel : "");
    if (c.recovery) {
      EXPECT_EQ(r.files, (std::map<std::string, std::string>{
                             {"KVBSET.CRC", EncodeFloppyChecks({kLabel, kRecoveryFloppy, c.floppies, true,
                                                                int32_t(c.size), Crc32Of(data),
                                                                Crc32Of(parity), pieceCrcs})},
                             {"KVBSET.PAR", c.floppies == 1 ? data : parity}}));
      written += int64_t(parity.size() + r.files.at("KVBSET.CRC").size());
    }
    EXPECT_EQ(disks[0].files.at("071226.gbt"), sys.files.Content("C:\\Contabilità\\071226.gbt"));
    // Every byte counted once, and the total expects all but the pieces' framing.
    EXPECT_EQ(counters.CopiedBytes, written);
    EXPECT_EQ(counters.TotalBytes + 14 * c.floppies, written);
    EXPECT_FALSE(view.timer);
  }
  EXPECT_EQ(sys.ui.beeps, 0);
}

TEST_F(FloppySet, BackupRepeatsAFloppyStepUntilTheFloppyIsUsable) {
  const std::string data = Pattern(3000000);
  sys.files.AddFile(kDataFile, data);
  disks[2].capacity = 100000;  // too small for piece 3: the copy fails
  disks[3].writeProtected = true;
  FakeDisk spare, last, small, recovery;
  spare.corruptWrites = 1;  // keeps a wrong byte: the read-back shows it
  small.capacity = 100000;  // takes the catalogue, then fails piece 1
  int asked3 = 0;
  user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
    const std::string& t = box.text;
    if (StartsWith(t, "Per questo Backup")) {
      Insert(&small);
    } else if (StartsWith(t, "E' stato inserito un Floppy") && inDrive == &small) {
      Insert(0);
    } else if (t == "Inserire il floppy numero 2") {
      Insert(0);  // floppy 1 again, by mistake
    } else if (StartsWith(t, "E' stato inserito un Floppy") && asked3 == 0) {
      Insert(-1);  // taken out, nothing put in
    } else if (t == "Errore durante la scrittura sull'unità A:") {
      Insert(sys.files.VolumeInformation("A:\\") ? 1 : 3);  // then the write-protected one
    } else if (t == "Inserire il floppy numero 3") {
      ++asked3;
      Insert(2);
    } else if (StartsWith(t, "E' stato inserito un Floppy") && asked3 == 1) {
      ++asked3;
      Insert(&spare);
    } else if (StartsWith(t, "E' stato inserito un Floppy") && asked3 == 2) {
      Insert(&last);
    } else if (t == kAskRecovery) {
      Insert(&recovery);
    } else {
      Feed(box);
    }
    return std::nullopt;
  };
  ASSERT_TRUE(Backup());
  const std::vector<std::string> texts = Texts();
  const std::string thisSet =
      "E' stato inserito un Floppy appartenente a questo Backup.\r\n\r\nSostituire e scegliere OK.";
  const std::string writeError = "Errore durante la scrittura sull'unità A:";
  EXPECT_EQ(std::count(texts.begin(), texts.end(), writeError), 2);  // no disk, write-protected
  EXPECT_EQ(std::count(texts.begin(), texts.end(), thisSet), 4);  // small, floppy 1, full, bad read-back
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      "Verifica non riuscita: i dati letti dal floppy non corrispondono a quelli "
                      "scritti."),
            texts.end());
  EXPECT_EQ(texts.back(), "Backup completato.");
  // Floppy 1 was not touched again; the last floppy took piece 3, whole.
  EXPECT_EQ(disks[0].files.size(), 3u);
  EXPECT_EQ(DecodePiece(last.files.at("archivio.mdb.003"))->Data, data.substr(2 * size_t(kPieceSize)));
  EXPECT_EQ(last.label, kLabel);
  EXPECT_EQ(recovery.files.size(), 2u);
  // The failed copies are not counted twice, nor the catalogue of a repeated first floppy.
  int64_t written = 0;
  for (const FakeDisk* d : {&disks[0], &disks[1], &last, &recovery})
    for (const auto& [name, bytes] : d->files) written += int64_t(bytes.size());
  EXPECT_EQ(counters.CopiedBytes, written);
  for (const ShownBox& b : sys.ui.boxes) EXPECT_EQ(b.title, kTitle);
}

TEST_F(FloppySet, BackupCancelledOrImpossibleChangesNoFloppy) {
  sys.files.AddFile(kDataFile, Pattern(5000));
  disks[0].label = "07777-77777";
  disks[0].files = {{"lettera.doc", "da tenere"}};
  sys.ui.answers = {MsgAnswer::Cancel};
  sys.ui.onBox = nullptr;
  Insert(0);
  EXPECT_TRUE(Backup());
  EXPECT_EQ(Texts().back(), "Backup annullato dall'Utente.");
  EXPECT_EQ(sys.ui.boxes.back().icon, MsgIcon::Exclamation);
  EXPECT_EQ(sys.ui.beeps, 1);
  EXPECT_EQ(disks[0].files.at("lettera.doc"), "da tenere");
  EXPECT_TRUE(view.frames.empty() && !view.timer);

  // A path its restore could not take (named through ".."), and a file
  // emptied since start-up: refused before anything is written, program open.
  const std::string throughDots = "C:\\Contabilità\\..\\Contabilità\\archivio.mdb";
  auto staged = [&] {  // the staging files the cancelled backup left
    std::map<std::string, std::string> files;
    for (const std::string& name : sys.files.Names("C:\\Contabilità"))
      if (name != "archivio.mdb") files[name] = sys.files.Content("C:\\Contabilità\\" + name);
    return files;
  };
  const auto before = staged();
  for (const auto& [file, bytes, why] :
       {std::tuple{throughDots, Pattern(5000),
                   "Il percorso del file non è completo (unità o \\\\server\\condivisione, "
                   "cartelle e nome, senza «.» o «..»): un Set di Backup di questo file non "
                   "potrebbe essere ripristinato.\r\n\r\n" + throughDots},
        std::tuple{std::string(kDataFile), std::string(),
                   "Il file " + std::string(kDataFile) + " è vuoto: non c'è nulla da salvare."}}) {
    sys.ui.boxes.clear();
    sys.ui.answers = {MsgAnswer::Cancel};  // should it ask for floppies after all
    sys.files.AddFile(kDataFile, bytes);
    EXPECT_FALSE(Backup(file));
    sys.ui.answers.clear();
    ASSERT_EQ(Texts(), std::vector<std::string>{why});
    EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(staged(), before);
    EXPECT_TRUE(Idle());
  }

  // The application holds the file open: the split fails, the program stays open, Idle.
  sys.ui.boxes.clear();
  sys.files.Lock(kDataFile);
  EXPECT_FALSE(Backup());
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].text,
            "Impossibile accedere al file. Il file è utilizzato da un altro processo.");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(Idle());
}

TEST_F(FloppySet, RestoreBringsBackTheFileWhereItWasBackedUp) {
  const std::string data = Pattern(3000000, 99);
  MakeSet(data);
  // The file has grown since; the program was started for another file.
  sys.files.AddFile(kDataFile, data + "aggiunte di oggi");
  // A file of the user's that a scratch name could have hit.
  sys.files.AddFile(std::string(kDataFile) + ".tmp", "appunti dell'utente");
  view.desktop = {{true, false, false, "Tessaro Backup"}, {true, false, false, "Posta in arrivo"}};
  Restore();
  EXPECT_EQ(sys.files.Content(kDataFile), data);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "Inserire il primo floppy del Set di Backup.",
                         "Questo Backup è costituito da 3 floppy disk(s).\r\n\r\nGli archivi saranno "
                         "ripristinati nella posizione originaria: \r\nC:\\Contabilità\\archivio.mdb",
                         "Inserire il floppy numero 2", "Inserire il floppy numero 3",
                         "Ripristino completato correttamente."}));
  EXPECT_EQ(sys.ui.boxes[1].buttons, MsgButtons::OkCancel);
  EXPECT_EQ(counters.TotalBytes, 3000000);
  EXPECT_TRUE(Idle());
  EXPECT_EQ(sys.files.Content(std::string(kDataFile) + ".tmp"), "appunti dell'utente");
  // Beside the data file: the pieces and the catalogue, no scratch file left.
  EXPECT_EQ(sys.files.Names("C:\\Contabilità"),
            (std::vector<std::string>{"071226.gbt", "archivio.mdb", "archivio.mdb.001",
                                      "archivio.mdb.002", "archivio.mdb.003", "archivio.mdb.tmp"}));
  // The program's own folder is current again.
  EXPECT_EQ(sys.files.CurrentFolder(), "C:\\KVB");
}

TEST_F(FloppySet, RestoreRefusesWrongFloppiesAndAsksAgain) {
  const std::string data = Pattern(3000000, 5);
  MakeSet(data);
  // Another set of the same file: its floppy 2 holds the piece too.
  FakeDisk otherSet = disks[1];
  otherSet.label = "03333-33333";
  // One byte of piece 2 changed, its framing intact: only the checksum shows it.
  FakeDisk changed = disks[1];
  changed.files["archivio.mdb.002"][700000] ^= 1;
  const std::string before = "il file di adesso";
  sys.files.AddFile(kDataFile, before);

  // Floppy 2 put in first.
  user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
    if (StartsWith(box.text, "Inserire il primo")) Insert(1);
    return std::nullopt;
  };
  Restore();
  EXPECT_EQ(Texts().back(), "Il disco inserito non è il primo del Set di Backup.");
  EXPECT_EQ(sys.ui.boxes.back().icon, MsgIcon::Exclamation);
  EXPECT_TRUE(Idle());

  // For floppy 2: the other set's, then floppy 3, then the changed one while
  // the hard disk refuses the piece's copy, then the right one.
  const std::string onDisk = std::string(kDataFile) + ".002";
  sys.files.AddFile(onDisk, "sola lettura", attr::ReadOnly);
  const std::string damaged =
      "Il floppy numero 2 è danneggiato: il file A:\\archivio.mdb.002 non contiene i dati scritti "
      "dal Backup.\r\n\r\nScegliere OK per riprovare.";
  sys.ui.boxes.clear();
  user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
    if (box.text == "Inserire il floppy numero 2") {
      Insert(&otherSet);
    } else if (StartsWith(box.text, "E' stato inserito un Disco")) {
      Insert(2);
    } else if (StartsWith(box.text, "Disco errato")) {
      Insert(&changed);
    } else if (box.text == damaged) {
      EXPECT_EQ(sys.files.Content(kDataFile), before);
      Insert(1);
    } else if (StartsWith(box.text, "Errore del disco rigido")) {
      sys.files.SetAttributes(onDisk, attr::Normal);
    } else {
      Feed(box);
    }
    return std::nullopt;
  };
  Restore();
  std::vector<std::string> texts = Texts();
  ASSERT_EQ(texts.size(), 10u);
  EXPECT_EQ(texts[3],
            "E' stato inserito un Disco appartenente ad un altro Set di Backup: inserire il floppy "
            "numero 2.\r\n\r\nScegliere OK per riprovare.");
  EXPECT_EQ(texts[4], "Disco errato: inserire il floppy numero 2.\r\n\r\nScegliere OK per riprovare.");
  // The hard disk failed, not the floppy: the system's reason, then which side.
  EXPECT_EQ(texts[5], "Accesso negato.");
  EXPECT_EQ(texts[6], "Errore del disco rigido: impossibile scrivere il file " + onDisk +
                          ".\r\n\r\nScegliere OK per riprovare.");
  EXPECT_EQ(texts[7], damaged);
  for (int i : {3, 4, 6, 7}) EXPECT_EQ(sys.ui.boxes[i].buttons, MsgButtons::OkCancel);
  EXPECT_EQ(texts[9], "Ripristino completato correttamente.");
  EXPECT_EQ(sys.files.Content(kDataFile), data);
  EXPECT_EQ(counters.CopiedBytes, 3000000 + 3 * 14);

  // Cancel at each question leaves the data file as it was, and the window
  // Idle; a floppy given up is offered for rebuilding first (No here).
  const std::string rebuild =
      "Ricostruire il floppy numero 2 con il floppy di ripristino, che sarà chiesto alla fine?";
  for (const std::string question : {"Questo Backup", "Disco errato", "Il floppy numero 2"}) {
    SCOPED_TRACE(question);
    sys.files.AddFile(kDataFile, before);
    sys.ui.boxes.clear();
    user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
      if (StartsWith(box.text, question)) return MsgAnswer::Cancel;
      if (box.text == rebuild) return MsgAnswer::No;
      if (box.text == "Inserire il floppy numero 2") {
        if (question == "Il floppy numero 2") Insert(&changed);
        return MsgAnswer::Ok;  // else floppy 1 stays in
      }
      Feed(box);
      return std::nullopt;
    };
    sys.files.Delete("C:\\Contabilità\\071226.gbt");
    Restore();
    texts = Texts();
    EXPECT_EQ(texts.back(), "Ripristino annullato dall'Utente.");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), rebuild), question == "Questo Backup" ? 0 : 1);
    EXPECT_EQ(sys.files.Content(kDataFile), before);
    EXPECT_TRUE(Idle());
    // Nothing reaches the data file's folder before the user has seen where it goes.
    EXPECT_EQ(sys.files.Exists("C:\\Contabilità\\071226.gbt"), question != "Questo Backup");
  }
  EXPECT_EQ(sys.ui.boxes[sys.ui.boxes.size() - 2].buttons, MsgButtons::YesNo);

  // A set made before the checksum files restores as it did: a piece that
  // does not come off whole is refused by its framing, and a floppy given up
  // ends the restore with no offer to rebuild it.
  for (FakeDisk& d : disks) d.files.erase("KVBSET.CRC");
  FakeDisk truncated = disks[1];
  truncated.files["archivio.mdb.002"].resize(1000);
  for (bool giveUp : {false, true}) {
    sys.files.AddFile(kDataFile, before);
    sys.ui.boxes.clear();
    user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
      if (box.text == "Inserire il floppy numero 2")
        Insert(&truncated);
      else if (StartsWith(box.text, "Impossibile leggere") && giveUp)
        return MsgAnswer::Cancel;
      else if (StartsWith(box.text, "Impossibile leggere"))
        Insert(1);
      else
        Feed(box);
      return std::nullopt;
    };
    Restore();
    texts = Texts();
    ASSERT_EQ(texts.size(), giveUp ? 5u : 6u) << ::testing::PrintToString(texts);
    EXPECT_EQ(texts[3],
              "Impossibile leggere correttamente il file A:\\archivio.mdb.002 dal floppy numero "
              "2.\r\n\r\nScegliere OK per riprovare.");
    EXPECT_EQ(texts.back(), giveUp ? "Ripristino annullato dall'Utente." : "Ripristino completato correttamente.");
    EXPECT_EQ(sys.files.Content(kDataFile), giveUp ? before : data);
  }

  // No floppy at all: the system's description, then Idle.
  sys.ui.boxes.clear();
  user = [&](const ShownBox&) -> std::optional<MsgAnswer> { return std::nullopt; };
  Restore();
  EXPECT_EQ(Texts().back(), "Impossibile trovare il percorso specificato.");
  EXPECT_EQ(sys.ui.boxes.back().icon, MsgIcon::Critical);
  EXPECT_TRUE(Idle());
  EXPECT_EQ(sys.files.CurrentFolder(), "C:\\KVB");
}

TEST_F(FloppySet, RestoreRebuildsOneLostFloppyFromTheRecoveryFloppy) {
  const std::string data = Pattern(3000000, 21);
  MakeSet(data);
  const std::string before = "il file di adesso";
  const std::string folder = "C:\\Contabilità\\";
  auto ask = [](const std::string& start, int k) { return start + std::to_string(k); };
  // A recovery floppy whose parity lost a byte: refused by name, then the good one.
  FakeDisk badRecovery = disks[3];
  badRecovery.files["KVBSET.PAR"][1000] ^= 1;
  // Runs a restore in which the floppies in `lost` cannot be given (the
  // drive is left empty) and each is offered for rebuilding: Yes.
  auto restoreWithout = [&](std::set<int> lost, const std::function<void(const ShownBox&)>& also) {
    sys.files.AddFile(kDataFile, before);
    // No piece left from the backup may stand in for a rebuilt one.
    for (int k = 1; k <= 3; ++k) sys.files.Delete(folder + "archivio.mdb." + PieceNumberText(k));
    sys.ui.boxes.clear();
    user = [&, lost](const ShownBox& box) -> std::optional<MsgAnswer> {
      if (also) also(box);
      const std::string ask = "Inserire il floppy numero ";
      if (StartsWith(box.text, ask) && lost.count(std::stoi(box.text.substr(ask.size()))))
        Insert(-1);
      else if (StartsWith(box.text, "Disco errato"))
        return MsgAnswer::Cancel;
      else if (box.text != kAskRecovery || inDrive != &badRecovery)
        Feed(box);
      return std::nullopt;
    };
    Restore();
    return Texts();
  };

  // Floppy 2 lost; then floppy 3, whose piece is the short last one.
  for (int lost : {2, 3}) {
    SCOPED_TRACE(lost);
    const std::string damagedParity =
        "Il floppy di ripristino è danneggiato: il file A:\\KVBSET.PAR non contiene i dati scritti "
        "dal Backup.\r\n\r\nScegliere OK per riprovare.";
    const auto texts = restoreWithout({lost}, [&](const ShownBox& box) {
      if (box.text == kAskRecovery) Insert(&badRecovery);
      if (box.text == damagedParity) Insert(3);
    });
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(std::count(texts.begin(), texts.end(),
                         ask("Ricostruire il floppy numero ", lost) +
                             " con il floppy di ripristino, che sarà chiesto alla fine?"),
              1);
    EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
              (std::vector<std::string>{kAskRecovery, damagedParity,
                                        "Ripristino completato correttamente."}));
    EXPECT_EQ(sys.files.Content(kDataFile), data);
    EXPECT_TRUE(Idle());
  }

  // Two floppies lost: said so, and the data file stays as it was.
  auto texts = restoreWithout({2, 3}, {});
  EXPECT_EQ(texts.back(),
            "Mancano il floppy numero 2 e il floppy numero 3: il floppy di ripristino ne può "
            "sostituire uno solo. Il ripristino non può essere eseguito; il file dei dati non è "
            "stato modificato.");
  EXPECT_EQ(sys.ui.boxes.back().icon, MsgIcon::Critical);
  EXPECT_EQ(sys.files.Content(kDataFile), before);
  EXPECT_TRUE(Idle());

  // Piece 2 passes its check as it comes off the floppy, then changes on the
  // hard disk: only the whole file's checksum catches it, before the data
  // file is replaced.
  texts = restoreWithout({}, [&](const ShownBox& box) {
    if (box.text == "Inserire il floppy numero 3") {
      std::string piece = sys.files.Content(folder + "archivio.mdb.002");
      piece[5000] ^= 1;
      sys.files.AddFile(folder + "archivio.mdb.002", piece);
    }
  });
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2],
            "Il file ricostruito dal Set di Backup non è identico a quello salvato: C:\\Contabilità\\"
            "archivio.mdb non è stato modificato.");
  EXPECT_EQ(texts.back(), "Errore sconosciuto: ripristino fallito.");
  EXPECT_EQ(sys.files.Content(kDataFile), before);
}

TEST_F(FloppySet, RestoreWaitsForTheApplicationToClose) {
  for (const std::string title : {"TESSARO Contabilità - archivio", "tessaro"}) {
    sys.ui.boxes.clear();
    view.desktop = {{true, false, false, "Tessaro Backup"}, {true, false, false, title}};
    Restore();
    ASSERT_EQ(sys.ui.boxes.size(), 1u);
    EXPECT_EQ(sys.ui.boxes[0].text,
              "Al fine di evitare che gli Archivi siano in USO, prima di effettuare il ripristino è "
              "NECESSARIO CHIUDERE «" + title + "».");
    EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(sys.ui.pointerHistory.empty());  // never Busy
  }
  // Hidden, owned or "backup" windows do not count.
  view.desktop = {{false, false, false, "Tessaro Contabilità"},
                  {true, false, true, "Tessaro Contabilità - Stampa"},
                  {true, false, false, "Tessaro BACKUP notturno"}};
  EXPECT_FALSE(ApplicationWindow(view, sys.platform));
}

TEST_F(FloppySet, RestoreWritesNothingFromAHostileOrDamagedSet) {
  const std::string data = Pattern(200000, 3);
  MakeSet(data);
  const std::string good = disks[0].files.at("071226.gbt");
  const std::string before = "il file di adesso";
  auto catalogue = [&](BackupCatalogue c) { return *EncodeCatalogue(c, sys.platform); };
  const std::vector<std::string> hostile = {
      catalogue({200000, "C:\\Contabilità\\..\\Windows\\win.ini", "C:\\", 1, 1}),
      catalogue({200000, "archivio.mdb", "C:\\", 1, 1}),
      catalogue({200000, "\\\\server\\dati\\archivio.mdb", "C:\\", 1, 1}),
      catalogue({200000, "C:\\Contabilità\\*.mdb", "C:\\", 1, 1}),
      catalogue({200000, "C:\\Contabilità\\archivio.mdb", "C:\\", 2, 1}),
      catalogue({200000, "C:\\Contabilità\\archivio.mdb", "C:\\", 1, 2}),
      catalogue({3000000, "C:\\Contabilità\\archivio.mdb", "C:\\", 1, 1}),
      good.substr(0, good.size() - 1)};
  for (const std::string& bytes : hostile) {
    sys.files.AddFile(kDataFile, before);
    sys.files.Delete("C:\\Contabilità\\071226.gbt");
    disks[0].files["071226.gbt"] = bytes;
    sys.ui.boxes.clear();
    Restore();
    ASSERT_EQ(sys.ui.boxes.size(), 2u);
    EXPECT_EQ(sys.ui.boxes[1].text,
              "Il catalogo presente sul floppy non descrive un Set di Backup valido: il ripristino "
              "non può essere eseguito.");
    EXPECT_EQ(sys.files.Content(kDataFile), before);
    EXPECT_FALSE(sys.files.Exists("C:\\Contabilità\\071226.gbt"));
    EXPECT_TRUE(Idle());
  }

  // A set of a file on a network share restores in a program started for
  // that same file (and only there: see the hostile catalogues above).
  const std::string shared = "\\\\server\\dati\\archivio.mdb";
  sys.files.AddFile(shared, data);  // the fake keeps it on C:
  disks[0] = disks[3] = FakeDisk{};
  ASSERT_TRUE(Backup(shared));
  sys.files.AddFile(shared, before);
  sys.ui.boxes.clear();
  Restore(shared);
  EXPECT_EQ(Texts().back(), "Ripristino completato correttamente.");
  EXPECT_EQ(sys.files.Content(shared), data);

  // A join that cannot replace the data file (held open) leaves it as it was,
  // and its scratch file goes.
  disks[0].files["071226.gbt"] = good;
  sys.files.AddFile(kDataFile, before);
  sys.files.Lock(kDataFile);
  sys.ui.boxes.clear();
  Restore();
  std::vector<std::string> texts = Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2].find("Impossibile sostituire il file, in uso"), 0u);  // the join's own
  EXPECT_EQ(texts[3], "Errore sconosciuto: ripristino fallito.");
  EXPECT_EQ(sys.ui.boxes[3].icon, MsgIcon::Critical);
  EXPECT_EQ(sys.files.Content(kDataFile), before);
  EXPECT_FALSE(sys.files.Exists("C:\\Contabilità\\~KVB0000.TMP"));
  EXPECT_TRUE(Idle());
}

// Every file operation of a backup (with its recovery floppy) and of a
// restore (plain, and through the recovery floppy) is made to fail in turn,
// once each. Whatever fails, the data file is never lost or changed but by a
// complete restore, success is never reported for a set or a file that is
// not whole, and the window ends Idle (or the program ends, as it should).
TEST(FloppySetFaults, NoSingleFailingFileOperationLosesDataOrFakesASuccess) {
  // One floppy's worth: every kind of operation of the flows happens on it,
  // and the matrix stays quick.
  const std::string data = Pattern(200000, 11);
  const std::string before = "il file di adesso";
  // The set every restore starts from, made once: floppy 1 and the recovery floppy.
  FakeDisk set, recovery;
  {
    FloppyDesk maker;
    maker.MakeSet(data);
    set = maker.disks[0];
    recovery = maker.disks[3];
  }
  // A restore of it; `throughRecovery`: floppy 1's piece has a changed byte,
  // the user gives that floppy up, and piece 1 comes from the recovery floppy.
  auto restoreDesk = [&](bool throughRecovery) {
    auto desk = std::make_unique<FloppyDesk>();
    desk->disks[0] = set;
    desk->disks[3] = recovery;
    if (throughRecovery) {
      desk->disks[0].files["archivio.mdb.001"][100] ^= 1;
      FloppyDesk* d = desk.get();
      d->user = [d](const ShownBox& box) -> std::optional<MsgAnswer> {
        if (box.buttons == MsgButtons::OkCancel && !StartsWith(box.text, "Questo Backup"))
          return MsgAnswer::Cancel;
        d->Feed(box);
        return std::nullopt;
      };
    }
    desk->sys.files.AddFile(kDataFile, before);
    return desk;
  };
  int runs = 0;
  for (const fakes::FakeFaultKind& kind : fakes::kFakeFaultKinds) {
    // How many operations of the kind a backup and a restore make when nothing fails.
    int count = 0;
    {
      FloppyDesk clean;
      clean.sys.files.AddFile(kDataFile, data);
      clean.sys.files.Inject(kind, 0);
      clean.Backup();
      count = clean.sys.files.Operations(kind.op);
      for (bool throughRecovery : {false, true}) {
        auto again = restoreDesk(throughRecovery);
        again->sys.files.Inject(kind, 0);
        again->Restore();
        EXPECT_EQ(again->sys.files.Content(kDataFile), data);
        count = std::max(count, again->sys.files.Operations(kind.op));
      }
    }
    for (int n = 1; n <= count; ++n) {
      SCOPED_TRACE("operation kind " + std::to_string(int(kind.op)) + ", fault " +
                   std::to_string(int(kind.fault)) + (kind.persists ? " from" : "") +
                   " n = " + std::to_string(n));
      // A backup with the nth operation failing; spare floppies when one is
      // refused. A fault that persists has the program ask again and again:
      // told the same thing a third time, the user closes the window.
      auto desk = std::make_unique<FloppyDesk>();
      FakeDisk spares[6];
      int spare = 0;
      bool gaveUp = false;
      desk->sys.ui.onPump = [&] {
        if (gaveUp) ChiudiClick(desk->view, desk->services);
      };
      FakeDisk* first = nullptr;  // the floppies in the drive as the program moved on
      FakeDisk* last = nullptr;
      desk->user = [&](const ShownBox& box) -> std::optional<MsgAnswer> {
        const auto& shown = desk->sys.ui.boxes;
        gaveUp = gaveUp || std::count_if(shown.begin(), shown.end(), [&](const ShownBox& b) {
                             return b.text == box.text;
                           }) >= 3;
        if (box.text == kAskRecovery) first = desk->inDrive;
        if (box.text == "Backup completato.") last = desk->inDrive;
        if (StartsWith(box.text, "E' stato inserito un Floppy") ||
            box.text == "Errore durante la scrittura sull'unità A:")
          desk->Insert(&spares[spare++ % 6]);
        else
          desk->Feed(box);
        return std::nullopt;
      };
      desk->sys.files.AddFile(kDataFile, data);
      desk->sys.files.Inject(kind, n);
      const bool ended = desk->Backup();
      EXPECT_EQ(desk->sys.files.Content(kDataFile), data);
      const std::vector<std::string> texts = desk->Texts();
      if (!texts.empty() && texts.back() == "Backup completato.") {
        EXPECT_TRUE(ended);
        ASSERT_TRUE(first && last && first != last);
        // Floppy 1 and the recovery floppy just as a backup with nothing failing makes them.
        EXPECT_EQ(first->label, kLabel);
        EXPECT_EQ(first->files, set.files);
        EXPECT_EQ(last->label, kLabel);
        EXPECT_EQ(last->files, recovery.files);
      } else if (gaveUp) {
        EXPECT_TRUE(ended);
        EXPECT_EQ(texts.back(), kvb_texts::kInterruptOperation);
      } else {
        EXPECT_FALSE(ended);
        EXPECT_TRUE(desk->Idle());
        ASSERT_FALSE(desk->sys.ui.boxes.empty());
        EXPECT_EQ(desk->sys.ui.boxes.back().icon, MsgIcon::Critical);
      }

      // Restores from a good set with the nth operation failing; asked the
      // same thing a third time, the user cancels.
      for (bool throughRecovery : {false, true}) {
        SCOPED_TRACE(throughRecovery ? "through the recovery floppy" : "plain");
        auto restore = restoreDesk(throughRecovery);
        gaveUp = false;
        auto answer = restore->user;
        FloppyDesk* r = restore.get();
        restore->user = [&, r, answer](const ShownBox& box) -> std::optional<MsgAnswer> {
          const auto& shown = r->sys.ui.boxes;
          if (box.buttons == MsgButtons::OkCancel &&
              std::count_if(shown.begin(), shown.end(),
                            [&](const ShownBox& b) { return b.text == box.text; }) >= 3) {
            gaveUp = true;
            return MsgAnswer::Cancel;
          }
          if (answer) return answer(box);
          r->Feed(box);
          return std::nullopt;
        };
        restore->sys.files.Inject(kind, n);
        restore->Restore();
        const std::string now = restore->sys.files.Content(kDataFile);
        const std::vector<std::string> said = restore->Texts();
        if (now == data) {
          EXPECT_EQ(said.back(), "Ripristino completato correttamente.");
        } else {
          EXPECT_EQ(now, before);
          EXPECT_NE(said.back(), "Ripristino completato correttamente.");
          // Warned: why it failed, that no set starts on this floppy (a
          // listing that failed), or that the restore was cancelled.
          const MsgIcon icon = restore->sys.ui.boxes.back().icon;
          EXPECT_TRUE(icon == MsgIcon::Critical || icon == MsgIcon::Exclamation ||
                      said.back() == kvb_texts::kRestoreCancelled)
              << said.back();
        }
        EXPECT_TRUE(restore->Idle());
      }
      ++runs;
    }
  }
  EXPECT_GT(runs, 70);
}

TEST_F(FloppySet, AnErrorInAClickIsShownAndTheWindowReturnsToIdle) {
  RunClick(view, services, state, [&] {
    EnterBusy(view, sys.ui);
    throw std::runtime_error("Errore imprevisto.");
  });
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].text, "Errore imprevisto.");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(sys.ui.boxes[0].title, kTitle);
  EXPECT_TRUE(Idle());
  EXPECT_EQ(CatalogueName({2027, 3, 1}), "010327.gbt");
}

}  // namespace
}  // namespace tessaro::kvb
