#include "settings/helpers.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace tessaro {
namespace {

using Writes = std::vector<std::pair<uint32_t, std::string>>;
const std::string kEuro = "\xE2\x82\xAC";

TEST(CutAtNul, KeepsTheTextBeforeTheNulAndNothingWithoutOne) {
  EXPECT_EQ(CutAtNul(std::string("dd/MM/yyyy\0xx", 13)), "dd/MM/yyyy");
  EXPECT_EQ(CutAtNul(std::string("\0abc", 4)), "");
  EXPECT_EQ(CutAtNul("senza terminatore"), "");
  EXPECT_EQ(CutAtNul(""), "");
}

TEST(RunAndWait, StartsTheCommandLineAsGiven) {
  fakes::FakeProcesses processes;
  bool ran = false;
  processes.program = [&](const std::string&) { return ran = true; };
  RunAndWait(processes, "Regedit.exe /S Settings.reg");
  EXPECT_TRUE(ran);
  ASSERT_EQ(processes.started.size(), 1u);
  EXPECT_EQ(processes.started[0], "Regedit.exe /S Settings.reg");
}

TEST(RunAndWait, ProgramThatCannotStartIsPassedOver) {
  fakes::FakeProcesses processes;  // no program: nothing can start
  EXPECT_NO_THROW(RunAndWait(processes, "NonEsiste.exe /x"));
  EXPECT_EQ(processes.started.size(), 1u);
}

struct Regional : ::testing::Test {
  fakes::FakePlatform platform;
  void Locale(const std::string& date, const std::string& currency, const std::string& digits,
              const std::string& separator) {
    platform.locale = {{lctype::ShortDate, date},
                       {lctype::Currency, currency},
                       {lctype::CurrencyDigits, digits},
                       {lctype::MoneyDecimalSep, separator}};
  }
};

TEST_F(Regional, ItalianSettingsOnlyGetTheSeparatorRewritten) {
  Locale("dd/MM/yyyy", kEuro, "2", ",");
  AdjustRegionalSettings(platform);
  EXPECT_EQ(platform.localeWrites, (Writes{{lctype::MoneyDecimalSep, ","}}));
}

TEST_F(Regional, OldLireSettingsAreBroughtToTheEuro) {
  Locale("dd/MM/yy", "L.", "0", ".");
  AdjustRegionalSettings(platform);
  EXPECT_EQ(platform.localeWrites, (Writes{{lctype::ShortDate, "dd/MM/yyyy"},
                                           {lctype::Currency, kEuro},
                                           {lctype::CurrencyDigits, "2"},
                                           {lctype::MoneyDecimalSep, ","}}));
  EXPECT_EQ(platform.locale[lctype::ShortDate], "dd/MM/yyyy");
  EXPECT_EQ(platform.locale[lctype::Currency], kEuro);
}

TEST_F(Regional, ShortDateNeedsAFourDigitYearAtTheEnd) {
  struct Case {
    const char* format;
    bool replaced;
  };
  for (Case c : {Case{"dd/MM/yyyy", false}, Case{"d/M/yyyy", false}, Case{"dd/MM/yy", true},
                 Case{"yyyy-MM-dd", true}, Case{"dd/MM/YYYY", true}, Case{"", true}}) {
    Locale(c.format, kEuro, "2", ",");
    platform.localeWrites.clear();
    AdjustRegionalSettings(platform);
    bool replaced =
        platform.localeWrites.size() == 2 &&
        platform.localeWrites[0] == std::make_pair(lctype::ShortDate, std::string("dd/MM/yyyy"));
    EXPECT_EQ(replaced, c.replaced) << c.format;
  }
}

TEST_F(Regional, CurrencyMustHoldTheEuroAndTwoDigitsAtLeast) {
  struct Case {
    const char* symbol;
    const char* digits;
    Writes expected;
  };
  const Writes sep = {{lctype::MoneyDecimalSep, ","}};
  for (const Case& c :
       {Case{"€ ", "3", sep}, Case{"EUR", "2", {{lctype::Currency, kEuro}, sep[0]}},
        Case{"€", "1", {{lctype::CurrencyDigits, "2"}, sep[0]}}, Case{"€", " 2", sep},
        Case{"€", "x", {{lctype::CurrencyDigits, "2"}, sep[0]}}}) {
    Locale("dd/MM/yyyy", c.symbol, c.digits, ".");
    platform.localeWrites.clear();
    AdjustRegionalSettings(platform);
    EXPECT_EQ(platform.localeWrites, c.expected) << c.symbol << " " << c.digits;
  }
}

TEST_F(Regional, UnreadableValuesCountAsEmptyAndRefusedWritesAreIgnored) {
  platform.locale.clear();
  platform.localeReadOnly = true;
  EXPECT_NO_THROW(AdjustRegionalSettings(platform));
  EXPECT_EQ(platform.localeWrites, (Writes{{lctype::ShortDate, "dd/MM/yyyy"},
                                           {lctype::Currency, kEuro},
                                           {lctype::CurrencyDigits, "2"},
                                           {lctype::MoneyDecimalSep, ","}}));
  EXPECT_TRUE(platform.locale.empty());
}

}  // namespace
}  // namespace tessaro
