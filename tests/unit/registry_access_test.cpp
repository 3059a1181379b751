#include "settings/registry_access.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace tessaro {
namespace {

constexpr uint32_t kMachine = 0x80000002u;
constexpr const char* kKey = "Software\\Tessaro\\Prova";
const std::string kNul(1, '\0');

struct RegistryTest : ::testing::Test {
  fakes::FakeRegistry reg;
  void SetUp() override { reg.CreateKey(kMachine, kKey); }
  RegValue Read(const std::string& name, const std::string& root = "LOCAL_MACHINE") {
    return QueryRegistryValue(reg, root, kKey, name);
  }
};

TEST(RegistryCode, MapsTheExactWordsOnly) {
  EXPECT_EQ(RegistryCode("CLASSES_ROOT"), 0x80000000u);
  EXPECT_EQ(RegistryCode("CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(RegistryCode("LOCAL_MACHINE"), 0x80000002u);
  EXPECT_EQ(RegistryCode("USERS"), 0x80000003u);
  EXPECT_EQ(RegistryCode("CURRENT_CONFIG"), 0x80000005u);
  EXPECT_EQ(RegistryCode("STRING"), 1u);
  EXPECT_EQ(RegistryCode("DWORD"), 4u);
  for (const char* other : {"local_machine", "HKEY_LOCAL_MACHINE", "LOCAL_MACHINE ", "", "BINARY"})
    EXPECT_EQ(RegistryCode(other), 0u) << other;
}

TEST(TextBeforeNul, CutsAtTheFirstNul) {
  EXPECT_EQ(TextBeforeNul("C:\\Programmi"), "C:\\Programmi");
  EXPECT_EQ(TextBeforeNul("C:\\Programmi" + kNul), "C:\\Programmi");
  EXPECT_EQ(TextBeforeNul(kNul + "resto"), "");
  EXPECT_EQ(TextBeforeNul("a" + kNul + "b" + kNul), "a");
  EXPECT_EQ(TextBeforeNul(""), "");
}

TEST_F(RegistryTest, StringComesBackWithItsNul) {
  reg.PutString(kMachine, kKey, "Cartella", "C:\\Programmi");
  RegValue value = Read("Cartella");
  ASSERT_TRUE(std::holds_alternative<std::string>(value));
  EXPECT_EQ(std::get<std::string>(value), "C:\\Programmi" + kNul);
  EXPECT_EQ(RegistryText(reg, "LOCAL_MACHINE", kKey, "Cartella"), "C:\\Programmi");
  EXPECT_EQ(reg.openKeys, 0);
}

TEST_F(RegistryTest, DwordComesBackAsA32BitNumber) {
  reg.Put(kMachine, kKey, "Conta", RegData{regtype::Dword, {}, -7});
  RegValue value = Read("Conta");
  ASSERT_TRUE(std::holds_alternative<int32_t>(value));
  EXPECT_EQ(std::get<int32_t>(value), -7);
  EXPECT_EQ(RegistryText(reg, "LOCAL_MACHINE", kKey, "Conta"), "");
}

TEST_F(RegistryTest, OtherTypesReadAsEmptyWithCodeMinusOne) {
  reg.Put(kMachine, kKey, "Bin", RegData{regtype::Binary, "\x01\x02", 0});
  reg.Put(kMachine, kKey, "Exp", RegData{regtype::ExpandString, "%windir%" + kNul, 0});
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Bin")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Exp")));

  RegKey key = 0;
  ASSERT_EQ(reg.OpenKey(kMachine, kKey, kRegistryAccess, key), 0);
  RegValue value = std::string("old");
  EXPECT_EQ(QueryOpenKeyValue(reg, key, "Bin", value), -1);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
  // A failed read leaves nothing of what the variable held before.
  value = 5;
  EXPECT_EQ(QueryOpenKeyValue(reg, key, "Assente", value), 2);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
  reg.CloseKey(key);
}

TEST_F(RegistryTest, MissingKeyValueOrRootReadsEmptyAndCreatesNothing) {
  reg.PutString(kMachine, kKey, "Cartella", "x");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Assente")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Cartella", "local_machine")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Cartella", "HKLM")));
  RegValue missing = QueryRegistryValue(reg, "LOCAL_MACHINE", "Software\\Nessuna", "Cartella");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(missing));
  EXPECT_FALSE(reg.KeyExists(kMachine, "Software\\Nessuna"));
  EXPECT_EQ(reg.openKeys, 0);
}

TEST_F(RegistryTest, StringWrittenReadsBackAsTheSameText) {
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "Arial (TrueType)", std::string("arial.ttf"),
                   "STRING");
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "Città", std::string("Perché €"), "STRING");
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "Numero", int32_t{-12}, "STRING");
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "Vuoto", RegValue{}, "STRING");
  EXPECT_EQ(std::get<std::string>(Read("Arial (TrueType)")), "arial.ttf" + kNul);
  EXPECT_EQ(RegistryText(reg, "LOCAL_MACHINE", kKey, "Città"), "Perché €");
  EXPECT_EQ(RegistryText(reg, "LOCAL_MACHINE", kKey, "Numero"), "-12");
  EXPECT_EQ(std::get<std::string>(Read("Vuoto")), kNul);
  EXPECT_EQ(reg.openKeys, 0);
}

TEST_F(RegistryTest, DwordIsWrittenFromNumbersAndNumericTextsOnly) {
  auto written = [&](const RegValue& value) -> std::optional<int32_t> {
    reg.Put(kMachine, kKey, "N", RegData{regtype::String, "prima", 0});
    SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "N", value, "DWORD");
    const RegData* data = reg.Get(kMachine, kKey, "N");
    if (data->type != regtype::Dword) return std::nullopt;
    return data->number;
  };
  EXPECT_EQ(written(int32_t{2147483647}), 2147483647);
  EXPECT_EQ(written(std::string(" 42 ")), 42);
  EXPECT_EQ(written(std::string("2.5")), 2);  // half to even
  EXPECT_EQ(written(std::string("3.5")), 4);
  EXPECT_EQ(written(RegValue{}), 0);
  EXPECT_EQ(written(std::string("abc")), std::nullopt);
  EXPECT_EQ(written(std::string("12abc")), std::nullopt);
  EXPECT_EQ(written(std::string("")), std::nullopt);
  EXPECT_EQ(written(std::string("2147483648")), std::nullopt);
  EXPECT_EQ(written(std::string("\t-1.5e3")), -1500);    // other white space before it
  EXPECT_EQ(written(std::string("7\t")), std::nullopt);  // but nothing after it
  EXPECT_EQ(written(std::string("-2147483648.5")), -2147483647 - 1);
  EXPECT_EQ(written(std::string("0x10")), std::nullopt);  // decimal only

  RegKey key = 0;
  ASSERT_EQ(reg.OpenKey(kMachine, kKey, kRegistryAccess, key), 0);
  EXPECT_EQ(SetOpenKeyValue(reg, key, "N", regtype::Dword, std::string("x")), 87);
  reg.CloseKey(key);
}

TEST_F(RegistryTest, UnknownTypeOrRootOrMissingKeyWritesNothing) {
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "A", std::string("x"), "BINARY");
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "B", std::string("x"), "string");
  SetRegistryValue(reg, "local_machine", kKey, "C", std::string("x"), "STRING");
  SetRegistryValue(reg, "LOCAL_MACHINE", "Software\\Nessuna", "D", std::string("x"), "STRING");
  for (const char* name : {"A", "B", "C"})
    EXPECT_EQ(reg.Get(kMachine, kKey, name), nullptr) << name;
  EXPECT_FALSE(reg.KeyExists(kMachine, "Software\\Nessuna"));

  RegKey key = 0;
  ASSERT_EQ(reg.OpenKey(kMachine, kKey, kRegistryAccess, key), 0);
  EXPECT_EQ(SetOpenKeyValue(reg, key, "E", 3, std::string("x")), 0);
  EXPECT_EQ(reg.Get(kMachine, kKey, "E"), nullptr);
  reg.CloseKey(key);
  EXPECT_EQ(reg.openKeys, 0);
}

TEST_F(RegistryTest, DeniedWriteIsSilentAndReportsItsCode) {
  reg.PutString(kMachine, kKey, "V", "prima");
  reg.readOnlyKeys.insert(std::to_string(kMachine) + "\\SOFTWARE\\TESSARO\\PROVA");
  SetRegistryValue(reg, "LOCAL_MACHINE", kKey, "V", std::string("dopo"), "STRING");
  EXPECT_EQ(RegistryText(reg, "LOCAL_MACHINE", kKey, "V"), "prima");
  RegKey key = 0;
  ASSERT_EQ(reg.OpenKey(kMachine, kKey, kRegistryAccess, key), 0);
  EXPECT_EQ(SetOpenKeyValue(reg, key, "V", regtype::String, std::string("dopo")), 5);
  reg.CloseKey(key);
  EXPECT_EQ(reg.openKeys, 0);
}

}  // namespace
}  // namespace tessaro
