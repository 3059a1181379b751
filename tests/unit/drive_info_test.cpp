#include "services/drive_info.h"

#include <gtest/gtest.h>

#include "fakes/drive_page.h"
#include "fakes/fakes.h"
#include "number_format.h"

namespace tessaro {
namespace {

struct DriveMachine {
  fakes::FakeFileSystem files;
  fakes::FakePlatform platform;
  fakes::DrivePage view;
  DriveMachine() { platform.locale[0x0F] = "."; }
  void Drive(char letter, uint32_t type, uint64_t total, uint64_t free,
             VolumeFacts volume = {"DATI", "NTFS"}) {
    files.drives[letter] = {type, DiskSpace{total, free, free}, volume};
  }
  void Check(const std::string& root, int32_t required) {
    CheckDriveSpace(files, platform, root, required, view);
  }
};

TEST(NumberFormat, GroupsThousandsWithTheGivenSeparator) {
  EXPECT_EQ(FormatGrouped(0, "."), "0");
  EXPECT_EQ(FormatGrouped(999, "."), "999");
  EXPECT_EQ(FormatGrouped(32000, "."), "32.000");
  EXPECT_EQ(FormatGrouped(1234567890123, "\xC2\xA0"),
            "1\xC2\xA0"
            "234\xC2\xA0"
            "567\xC2\xA0"
            "890\xC2\xA0"
            "123");
  EXPECT_EQ(FormatGrouped(-1234, "."), "-1.234");
  EXPECT_EQ(FormatGrouped(INT64_MIN, ","), "-9,223,372,036,854,775,808");
  EXPECT_EQ(FormatGroupedOrBlank(0, "."), "");
  EXPECT_EQ(FormatGroupedOrBlank(1000, "."), "1.000");

  fakes::FakePlatform platform;
  EXPECT_EQ(ThousandsSeparator(platform), ",");  // the locale does not say
  platform.locale[0x0F] = ".";
  EXPECT_EQ(ThousandsSeparator(platform), ".");
}

TEST(CheckDriveSpace, ReportsAFixedDiskInTheUsersNumberFormat) {
  DriveMachine m;
  m.Drive('C', 3, 80'000'000'000, 32'000'000'000, {"ARCHIVIO_AZIENDA", "FAT32"});
  m.Check("C:\\", 1'234'567);
  EXPECT_EQ(m.view.report,
            "C:\\ Informazioni sull'unità \r\n"
            "\r\n"
            "  - Spazio utilizzato sul disco: 48.000.000.000 bytes\r\n"
            "  - Spazio disponibile: 32.000.000.000 bytes\r\n"
            "  - Spazio richiesto: 1.234.567 bytes\r\n"
            "  - Tipo di File-System: FAT32\r\n"
            "  - Etichetta di Volume : ARCHIVIO_AZ\r\n"
            "\r\n"
            "  - Tipo di supporto: Disco rigido\r\n");
  EXPECT_FALSE(m.view.warning);
  EXPECT_FALSE(m.view.nextEnabled);  // left as the page had it
  EXPECT_FALSE(m.view.reportHidden);
}

TEST(CheckDriveSpace, CutsLongNamesAndShowsAnUnreadableVolumeAsEmpty) {
  DriveMachine m;
  m.Drive('D', 3, 1000, 500, {"Contabilità2026", "exFAT-plus"});
  m.Check("D:\\", 10);
  EXPECT_NE(m.view.report->find("File-System: exFAT\r\n"), std::string::npos);
  EXPECT_NE(m.view.report->find("Volume : Contabilità\r\n"), std::string::npos);  // 11 letters

  m.files.drives['D'].volume.reset();
  m.Check("D:\\", 10);
  EXPECT_NE(m.view.report->find("File-System: \r\n  - Etichetta di Volume : \r\n\r\n"),
            std::string::npos);
  EXPECT_FALSE(m.view.warning);
}

TEST(CheckDriveSpace, RefusesADriveWhoseFreeBytesDoNotExceedTheRequiredOnes) {
  DriveMachine m;
  m.Drive('C', 3, 10'000, 5'000);
  m.Check("C:\\", 5'000);
  EXPECT_EQ(m.view.warning, "ATTENZIONE: lo spazio disponibile è INSUFFICIENTE.");
  EXPECT_EQ(m.view.warningTop, 2500);
  EXPECT_EQ(m.view.nextEnabled, false);

  DriveMachine one_more;
  one_more.Drive('C', 3, 10'000, 5'001);
  one_more.Check("C:\\", 5'000);
  EXPECT_FALSE(one_more.view.warning);
  EXPECT_FALSE(one_more.view.nextEnabled);

  // Nothing required: no figure, and any free byte will do.
  DriveMachine nothing;
  nothing.Drive('C', 3, 10'000, 1);
  nothing.Check("C:\\", 0);
  EXPECT_NE(nothing.view.report->find("  - Spazio richiesto:  bytes\r\n"), std::string::npos);
  EXPECT_FALSE(nothing.view.warning);
  nothing.files.drives['C'].space->totalFree = 0;
  nothing.Check("C:\\", 0);
  EXPECT_EQ(nothing.view.warningTop, 2500);
}

TEST(CheckDriveSpace, AcceptsOnlyRemovableAndFixedDrives) {
  DriveMachine m;
  m.Drive('A', 2, 1'457'664, 1'457'664);
  m.Check("A:\\", 1000);
  EXPECT_NE(m.view.report->find("  - Tipo di supporto: Rimuovibile\r\n"), std::string::npos);
  EXPECT_FALSE(m.view.warning);

  DriveMachine cd;
  cd.Drive('E', 5, 650'000'000, 1'000'000'000);
  cd.Check("E:\\", 1000);
  EXPECT_NE(cd.view.report->find("  - Tipo di supporto: CD-ROM\r\n"), std::string::npos);
  EXPECT_EQ(
      cd.view.warning,
      "ATTENZIONE:\r\nTipo di supporto non valido. Provare a cambiare il supporto, ad es. 'C:\\'");
  EXPECT_EQ(cd.view.warningTop, 790);
  EXPECT_EQ(cd.view.nextEnabled, false);

  // Wrong kind and too full: the space warning wins, low on the page.
  cd.files.drives['E'].space->totalFree = 0;
  cd.Check("E:\\", 1000);
  EXPECT_EQ(cd.view.warning, "ATTENZIONE: lo spazio disponibile è INSUFFICIENTE.");
  EXPECT_EQ(cd.view.warningTop, 2500);

  const char* names[] = {"*ERROR*", "Sconosciuto", "Rimuovibile", "Disco rigido",
                         "Remoto",  "CD-ROM",      "Disco RAM",   "*ERROR*"};
  for (uint32_t code = 0; code < 8; ++code) EXPECT_EQ(DriveTypeName(code), names[code]) << code;
}

TEST(CheckDriveSpace, AnUnreadableDriveHidesTheReportAndLetsTheUserGoOn) {
  DriveMachine m;
  m.files.drives['A'] = {2, std::nullopt, std::nullopt};  // floppy drive, no disk
  m.Check("A:\\", 1000);
  EXPECT_EQ(m.view.warning,
            "ATTENZIONE:\r\nImpossibile leggere le informazioni dall'unità scelta.");
  EXPECT_EQ(m.view.warningTop, 790);
  EXPECT_EQ(m.view.nextEnabled, true);
  EXPECT_TRUE(m.view.reportHidden);
  EXPECT_FALSE(m.view.report);

  DriveMachine none;
  none.Check("Q:\\", 1000);  // no such drive
  EXPECT_EQ(none.view.nextEnabled, true);
  EXPECT_TRUE(none.view.reportHidden);
}

}  // namespace
}  // namespace tessaro
