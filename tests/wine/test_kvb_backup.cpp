// The backup program making a set of floppies and restoring from it, driven
// as a person would: every box answered, floppies swapped between prompts,
// and each floppy's label and files checked on the disk itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "floppy.h"
#include "kvb_control_ids.h"
#include "robot.h"
#include "support.h"

namespace {

namespace floppy = wine_test::floppy;
namespace ids = tessaro::kvb::ids;
using robot::Icon;

const robot::WindowQuery kFrmSplit{"TessaroFrmSplit", "", 0, true};
const robot::Millis kCopyWait{30000};  // a box that follows a floppy's worth of copying

constexpr size_t kPieceSize = 1439865;
const std::string kOfferRecovery =
    "Preparare anche un floppy di ripristino (un floppy in più, chiesto per ultimo)?\r\n\r\nSe un "
    "floppy del Set andasse perso o danneggiato, il Backup potrà comunque essere ripristinato.";

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(robot::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
  ASSERT_EQ(written, bytes.size()) << path;
}

std::string Ansi(const std::string& utf8) {
  std::wstring wide = robot::widen(utf8);
  std::string out(wide.size() * 2, '\0');
  out.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(),
                                 int(out.size()), nullptr, nullptr));
  return out;
}

template <typename T>
std::string LittleEndian(T value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A piece file: dimensions 1, element count, lower bound 1, the bytes, the count.
std::string PieceFile(const std::string& data) {
  return LittleEndian<int16_t>(1) + LittleEndian<int32_t>(int32_t(data.size())) +
         LittleEndian<int32_t>(1) + data + LittleEndian<int32_t>(int32_t(data.size()));
}

std::string CatalogueFile(int32_t length, const std::string& path, const std::string& folder,
                          int16_t pieces) {
  std::string p = Ansi(path), f = Ansi(folder);
  return LittleEndian(length) + LittleEndian<int16_t>(int16_t(p.size())) + p +
         LittleEndian<int16_t>(int16_t(f.size())) + f + LittleEndian(pieces) +
         LittleEndian<int32_t>(1);
}

// Where two byte strings part, for a message that does not print megabytes.
std::string Difference(const std::optional<std::string>& got, const std::string& want) {
  if (!got) return "cannot be read";
  if (*got == want) return "";
  size_t i = 0;
  while (i < got->size() && i < want.size() && (*got)[i] == want[i]) ++i;
  return std::to_string(got->size()) + " bytes instead of " + std::to_string(want.size()) +
         ", first difference at offset " + std::to_string(i);
}

// Today's catalogue name, ddmmyy.gbt.
std::string CatalogueName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[16];
  std::snprintf(name, sizeof name, "%02u%02u%02u.gbt", now.wDay, now.wMonth, now.wYear % 100u);
  return name;
}

bool IsSetLabel(const std::string& label) {
  if (label.size() != 11 || label[0] != '0' || label[5] != '-') return false;
  for (size_t i = 0; i < 11; ++i)
    if (i != 5 && (label[i] < '0' || label[i] > '9')) return false;
  return true;
}

// Waits for the program's next box and checks all of it; the caller answers.
std::optional<robot::Box> Expect(robot::Process& kvb, const std::string& text, Icon icon,
                                 const std::string& buttons) {
  auto box = robot::wait_box(kvb.id(), kCopyWait);
  if (!box) {
    ADD_FAILURE() << "no box \"" << text << "\"\n" << robot::describe_windows(kvb.id());
    return box;
  }
  EXPECT_EQ(box->title, "Tessaro Backup");
  EXPECT_EQ(box->text, text);
  EXPECT_EQ(box->icon, icon) << box->text;
  EXPECT_EQ(box->captions(), buttons) << box->text;
  return box;
}

bool Answer(const std::optional<robot::Box>& box, const std::string& button) {
  return box && robot::press(box->hwnd, button) && robot::wait_gone(box->hwnd);
}

struct KvbWindow {
  robot::Process process;
  HWND form = nullptr;
};

KvbWindow StartKvb(const std::string& dataFile) {
  KvbWindow kvb{robot::Process::start(wine_test::kvb_exe(), {dataFile}, "C:\\")};
  EXPECT_TRUE(kvb.process.started()) << kvb.process.error();
  auto r = robot::record_boxes(kvb.process, {{}, kFrmSplit, robot::Millis{20000}});
  EXPECT_EQ(r.end, robot::Recording::End::window) << r.describe();
  if (r.window) kvb.form = r.window->hwnd;
  return kvb;
}

bool Idle(HWND form) {
  auto make = robot::find_control(form, ids::MakeBackup);
  auto restore = robot::find_control(form, ids::RestoreBackup);
  auto close = robot::find_control(form, ids::Chiudi);
  return make && restore && close && make->enabled && restore->enabled && close->text == "&Chiudi";
}

struct KvbFloppySet : ::testing::Test {
  void SetUp() override {
    ASSERT_FALSE(wine_test::kvb_exe().empty());
    folder = wine_test::scratch_folder("Contabilità");
    dataFile = folder + "\\archivio.mdb";
    for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 131 + i / 4093);
    WriteBytes(dataFile, data);
  }
  std::string Piece(int k) const { return data.substr((k - 1) * kPieceSize, kPieceSize); }

  std::string folder, dataFile;
  std::string data = std::string(3000000, '\0');
};

TEST_F(KvbFloppySet, BacksUpOntoThreeFloppiesAndRestoresTheDataFile) {
  const std::string catalogue = CatalogueName();
  // Floppy 1 comes from an older set; 2, 3 and the recovery floppy are blank.
  ASSERT_TRUE(floppy::set_up(1, "04444-55555",
                             {{"archivio.mdb.001", "vecchio pezzo"},
                              {"010125.gbt", "vecchio catalogo"},
                              {"leggimi.txt", "altro"}}));
  ASSERT_TRUE(floppy::set_up(2, ""));
  ASSERT_TRUE(floppy::set_up(3, "DATI", {{"archivio.mdb.003", "x"}}));
  ASSERT_TRUE(floppy::set_up(4, ""));
  ASSERT_TRUE(floppy::insert(1));

  {
    KvbWindow kvb = StartKvb(dataFile);
    ASSERT_NE(kvb.form, nullptr);
    ASSERT_TRUE(robot::press(kvb.form, ids::MakeBackup));
    ASSERT_TRUE(Answer(Expect(kvb.process,
                              "Per questo Backup occorrono 3 floppy disk(s).\r\n\r\nInserire il "
                              "primo Floppy disk: l'intero contenuto del Floppy sarà CANCELLATO.",
                              Icon::information, "OK|Cancel"),
                       "OK"));
    ASSERT_TRUE(Answer(Expect(kvb.process, kOfferRecovery, Icon::question, "Yes|No"), "Yes"));

    // The older set's floppy is relabelled and emptied without a question.
    auto next = Expect(kvb.process, "Inserire il floppy numero 2", Icon::information, "OK");
    ASSERT_TRUE(next);
    const std::string label = floppy::label(1).value_or("");
    EXPECT_TRUE(IsSetLabel(label)) << label;
    EXPECT_EQ(floppy::files(1),
              (std::vector<std::string>{catalogue, "KVBSET.CRC", "archivio.mdb.001"}));
    EXPECT_EQ(Difference(wine_test::read_file(floppy::folder(1) + "\\" + catalogue),
                         CatalogueFile(3000000, dataFile, folder + "\\", 3)),
              "");
    EXPECT_EQ(Difference(wine_test::read_file(floppy::folder(1) + "\\archivio.mdb.001"),
                         PieceFile(Piece(1))),
              "");

    // Floppy 1 again where floppy 2 is asked for: refused, and left alone.
    ASSERT_TRUE(floppy::insert(1));
    ASSERT_TRUE(Answer(next, "OK"));
    next = Expect(kvb.process,
                  "E' stato inserito un Floppy appartenente a questo Backup.\r\n\r\nSostituire e "
                  "scegliere OK.",
                  Icon::exclamation, "OK");
    EXPECT_EQ(floppy::label(1), label);
    EXPECT_EQ(floppy::files(1),
              (std::vector<std::string>{catalogue, "KVBSET.CRC", "archivio.mdb.001"}));
    EXPECT_EQ(Difference(wine_test::read_file(floppy::folder(1) + "\\archivio.mdb.001"),
                         PieceFile(Piece(1))),
              "");

    ASSERT_TRUE(floppy::insert(2));
    ASSERT_TRUE(Answer(next, "OK"));
    next = Expect(kvb.process, "Inserire il floppy numero 3", Icon::information, "OK");
    // No disk, then a write-protected one: the label cannot be written, and
    // the floppy is asked for again after each OK.
    ASSERT_TRUE(floppy::eject());
    ASSERT_TRUE(Answer(next, "OK"));
    next = Expect(kvb.process, "Errore durante la scrittura sull'unità A:", Icon::critical, "OK");
    ASSERT_TRUE(floppy::insert(floppy::kProtected));
    ASSERT_TRUE(Answer(next, "OK"));
    next = Expect(kvb.process, "Errore durante la scrittura sull'unità A:", Icon::critical, "OK");
    ASSERT_TRUE(floppy::insert(3));
    ASSERT_TRUE(Answer(next, "OK"));
    next = Expect(kvb.process, "Inserire il floppy di ripristino.", Icon::information, "OK");
    ASSERT_TRUE(floppy::insert(4));
    ASSERT_TRUE(Answer(next, "OK"));
    ASSERT_TRUE(Answer(Expect(kvb.process, "Backup completato.", Icon::information, "OK"), "OK"));
    EXPECT_TRUE(kvb.process.wait_exit()) << robot::describe_windows(kvb.process.id());

    // The recovery floppy: the pieces' parity, and the checksums.
    std::string parity(kPieceSize, '\0');
    for (size_t i = 0; i < data.size(); ++i) parity[i % kPieceSize] ^= data[i];
    EXPECT_EQ(floppy::label(4), label);
    EXPECT_EQ(floppy::files(4), (std::vector<std::string>{"KVBSET.CRC", "KVBSET.PAR"}));
    EXPECT_EQ(Difference(wine_test::read_file(floppy::folder(4) + "\\KVBSET.PAR"), parity), "");
    for (int k : {2, 3}) {
      std::string piece = "archivio.mdb.00" + std::to_string(k);
      EXPECT_EQ(floppy::label(k), label) << "floppy " << k;
      EXPECT_EQ(floppy::files(k), (std::vector<std::string>{"KVBSET.CRC", piece})) << "floppy " << k;
      EXPECT_EQ(
          Difference(wine_test::read_file(floppy::folder(k) + "\\" + piece), PieceFile(Piece(k))),
          "")
          << piece;
    }
  }
  ASSERT_FALSE(HasFailure()) << "the set is not as made: no restore from it";

  // The data file changes (and grows); the restore puts back the original,
  // with floppy 2 lost (rebuilt from the recovery floppy) and a byte of
  // floppy 3's piece changed, its framing intact, until the user sets it right.
  WriteBytes(dataFile, std::string(3100000, 'z'));
  for (int k : {1, 2, 3})  // the backup's own pieces must not stand in for the floppies
    DeleteFileW(robot::widen(dataFile + ".00" + std::to_string(k)).c_str());
  const std::string onFloppy3 = floppy::folder(3) + "\\archivio.mdb.003";
  const std::string piece3 = PieceFile(Piece(3));
  std::string changed = piece3;
  changed[70000] ^= 1;
  WriteBytes(onFloppy3, changed);
  ASSERT_TRUE(floppy::insert(3));
  KvbWindow kvb = StartKvb(dataFile);
  ASSERT_NE(kvb.form, nullptr);
  ASSERT_TRUE(robot::press(kvb.form, ids::RestoreBackup));
  auto next =
      Expect(kvb.process, "Inserire il primo floppy del Set di Backup.", Icon::information, "OK");
  ASSERT_TRUE(floppy::insert(1));
  ASSERT_TRUE(Answer(next, "OK"));
  ASSERT_TRUE(Answer(Expect(kvb.process,
                            "Questo Backup è costituito da 3 floppy disk(s).\r\n\r\nGli archivi "
                            "saranno ripristinati nella posizione originaria: \r\n" +
                                dataFile,
                            Icon::information, "OK|Cancel"),
                     "OK"));
  next = Expect(kvb.process, "Inserire il floppy numero 2", Icon::information, "OK");
  ASSERT_TRUE(floppy::insert(3));
  ASSERT_TRUE(Answer(next, "OK"));
  ASSERT_TRUE(Answer(Expect(kvb.process,
                            "Disco errato: inserire il floppy numero 2.\r\n\r\nScegliere OK per "
                            "riprovare.",
                            Icon::exclamation, "OK|Cancel"),
                     "Cancel"));
  ASSERT_TRUE(Answer(Expect(kvb.process,
                            "Ricostruire il floppy numero 2 con il floppy di ripristino, che sarà "
                            "chiesto alla fine?",
                            Icon::question, "Yes|No"),
                     "Yes"));
  ASSERT_TRUE(Answer(Expect(kvb.process, "Inserire il floppy numero 3", Icon::information, "OK"), "OK"));
  next = Expect(kvb.process,
                "Il floppy numero 3 è danneggiato: il file A:\\archivio.mdb.003 non contiene i dati "
                "scritti dal Backup.\r\n\r\nScegliere OK per riprovare.",
                Icon::exclamation, "OK|Cancel");
  WriteBytes(onFloppy3, piece3);
  ASSERT_TRUE(Answer(next, "OK"));
  next = Expect(kvb.process, "Inserire il floppy di ripristino.", Icon::information, "OK");
  ASSERT_TRUE(floppy::insert(4));
  ASSERT_TRUE(Answer(next, "OK"));
  ASSERT_TRUE(Answer(
      Expect(kvb.process, "Ripristino completato correttamente.", Icon::information, "OK"), "OK"));
  EXPECT_TRUE(robot::poll_until([&] { return Idle(kvb.form); }, robot::kWait))
      << robot::describe_windows(kvb.process.id());
  EXPECT_TRUE(kvb.process.running());
  EXPECT_EQ(Difference(wine_test::read_file(dataFile), data), "");
  // Beside the data file: the pieces and the catalogue copied in, nothing else.
  EXPECT_EQ(wine_test::list_files(folder),
            (std::vector<std::string>{catalogue, "archivio.mdb", "archivio.mdb.001",
                                      "archivio.mdb.002", "archivio.mdb.003"}));
}

}  // namespace
