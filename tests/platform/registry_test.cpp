#include "platform/registry.h"

#include <gtest/gtest.h>

using platform::RegKey;

namespace {
constexpr const char* kScratch = "Software\\VantrelTests\\Registry";
struct RegistryTest : testing::Test {
    void SetUp() override { platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override { platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch); }
};
} // namespace

TEST_F(RegistryTest, OpenOfAMissingKeyGivesNothingAndCreatesNothing) {
    EXPECT_FALSE(RegKey::Open(HKEY_CURRENT_USER, kScratch).has_value());
    EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, kScratch));
}

TEST_F(RegistryTest, TypedValuesRoundTripAndNamesIgnoreCase) {
    auto key = RegKey::Create(HKEY_CURRENT_USER, std::string("\\") + kScratch);
    key.writeString("Name", "Wert \xC3\xA4");
    key.writeInt("Count", -5);
    double d = 36556.5;
    key.writeBinary("When", &d, sizeof d);
    auto again = RegKey::Open(HKEY_CURRENT_USER, "software\\vantreltests\\REGISTRY");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->readString("NAME").value(), "Wert \xC3\xA4");
    EXPECT_EQ(again->readInt("count").value(), -5);
    EXPECT_EQ(again->readBinary("when")->size(), 8u);
    EXPECT_FALSE(again->readInt("missing").has_value());
}

TEST_F(RegistryTest, ReadingAnotherTypeIsAnError) {
    auto key = RegKey::Create(HKEY_CURRENT_USER, kScratch);
    key.writeString("Count", "12");
    EXPECT_THROW(key.readInt("Count"), platform::RegTypeError);
    key.writeInt("Text", 1);
    EXPECT_THROW(key.readString("Text"), platform::RegTypeError);
}

TEST_F(RegistryTest, EnumerationAndTreeDeletion) {
    auto key = RegKey::Create(HKEY_CURRENT_USER, kScratch);
    key.writeInt("b", 1);
    key.writeInt("a", 2);
    RegKey::Create(HKEY_CURRENT_USER, std::string(kScratch) + "\\Sub\\Deeper");
    EXPECT_EQ(key.valueNames().size(), 2u);
    EXPECT_EQ(key.subkeyNames(), std::vector<std::string>{"Sub"});
    EXPECT_TRUE(key.deleteValue("a"));
    EXPECT_FALSE(key.deleteValue("a"));
    EXPECT_TRUE(platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch));
    EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, kScratch));
    EXPECT_FALSE(platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch));
}
