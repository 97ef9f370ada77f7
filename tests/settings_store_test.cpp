#include "settings/RegistryStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>

using testenv::ScratchKey;

namespace {

std::string Replace(std::string path, const std::string& from, const std::string& to)
{
    return to + path.substr(from.size());
}

TEST(SettingsStore, RootNamesLongShortAndSlashesAddressTheSameKey)
{
    ScratchKey key;
    const std::string longForm = Replace(key.Path(), "HKCU", "HKEY_CURRENT_USER");
    std::string slashed = key.Path();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');

    ASSERT_TRUE(WriteRegistryDword(longForm, "Number", 42));
    DWORD number = 0;
    EXPECT_TRUE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(42u, number);
    number = 0;
    EXPECT_TRUE(ReadRegistryDword(slashed, "Number", number));
    EXPECT_EQ(42u, number);
    EXPECT_TRUE(RegistryValueExists(slashed, "Number"));

    std::string sub;
    EXPECT_EQ(HKEY_CLASSES_ROOT, SplitRootKey("HKCR\\a", sub));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, SplitRootKey("HKEY_LOCAL_MACHINE/x/y", sub));
    EXPECT_EQ("x\\y", sub);
    EXPECT_EQ(HKEY_USERS, SplitRootKey("HKU\\", sub));
    EXPECT_EQ(HKEY_DYN_DATA, SplitRootKey("HKDD\\z", sub));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, SplitRootKey("HKCC\\z", sub));
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, SplitRootKey("HKEY_PERFORMANCE_DATA\\z", sub));
}

TEST(SettingsStore, UnknownLowerCaseOrMalformedRootsOpenNothing)
{
    ScratchKey key;
    const std::string lower = Replace(key.Path(), "HKCU", "hkcu");
    std::string sub;
    EXPECT_EQ(nullptr, SplitRootKey(lower, sub));
    EXPECT_EQ(nullptr, SplitRootKey("HKCU", sub));
    EXPECT_EQ(nullptr, SplitRootKey("", sub));
    EXPECT_EQ(nullptr, SplitRootKey("HKXX\\Software", sub));

    EXPECT_FALSE(WriteRegistryDword(lower, "Number", 1));
    EXPECT_FALSE(WriteRegistryString("", "Text", "x"));
    EXPECT_FALSE(DeleteRegistryValue("", "Text"));
    EXPECT_FALSE(RegistryValueExists("HKCU", "Text"));
    EXPECT_FALSE(testenv::RawKeyExists(key.SubKey()));
}

TEST(SettingsStore, MissingKeyOrValueReadsZeroFilledAndCreatesNothing)
{
    ScratchKey key;
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(ReadRegistryValue(key.Path(), "Text", buffer, sizeof(buffer)));
    for (char c : buffer)
        EXPECT_EQ(0, c);
    DWORD number = 77;
    EXPECT_FALSE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(0u, number);
    EXPECT_FALSE(RegistryValueExists(key.Path(), "Number"));
    EXPECT_FALSE(DeleteRegistryValue(key.Path(), "Number"));
    EXPECT_FALSE(testenv::RawKeyExists(key.SubKey()));

    // With the key present, a missing value is still zero and false.
    ASSERT_TRUE(WriteRegistryDword(key.Path(), "Other", 1));
    number = 77;
    EXPECT_FALSE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(0u, number);
    EXPECT_FALSE(DeleteRegistryValue(key.Path(), "Number"));
    EXPECT_TRUE(testenv::RawValueExists(key.SubKey(), "Other"));
}

TEST(SettingsStore, WritesCreateMissingKeysAndStoreTheDocumentedTypes)
{
    ScratchKey key;
    const std::string deep = key.Path() + "\\a\\b";
    ASSERT_TRUE(WriteRegistryString(deep, "Text", "Kestrola Capture"));
    ASSERT_TRUE(WriteRegistryString(deep, "Empty", ""));
    ASSERT_TRUE(WriteRegistryDword(deep, "Number", 0x01020304));

    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (key.SubKey() + "\\a\\b").c_str(),
                                           0, KEY_READ, &raw));
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(raw, "Text", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(17u, size);  // the terminating zero counted
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(raw, "Empty", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(0u, size);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(raw, "Number", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(4u, size);
    RegCloseKey(raw);

    std::string text = "stale";
    EXPECT_TRUE(ReadRegistryString(deep, "Empty", text, 64));
    EXPECT_EQ("", text);
    EXPECT_TRUE(ReadRegistryString(deep, "Text", text, 64));
    EXPECT_EQ("Kestrola Capture", text);

    EXPECT_TRUE(DeleteRegistryValue(deep, "Text"));
    EXPECT_FALSE(RegistryValueExists(deep, "Text"));
    EXPECT_FALSE(DeleteRegistryValue(deep, "Text"));
}

TEST(SettingsStore, TextsThatDoNotFitReadAsFailureAndAlwaysComeBackTerminated)
{
    ScratchKey key;
    const std::string tooLong(40, 'L');
    ASSERT_TRUE(WriteRegistryString(key.Path(), "Long", tooLong));
    char small[8];
    EXPECT_FALSE(ReadRegistryValue(key.Path(), "Long", small, sizeof(small)));
    std::string text = "stale";
    EXPECT_FALSE(ReadRegistryString(key.Path(), "Long", text, 8));
    EXPECT_EQ("", text);

    // Seven characters and the terminator fill an 8-byte buffer exactly: that fits.
    ASSERT_TRUE(WriteRegistryString(key.Path(), "Seven", "1234567"));
    EXPECT_TRUE(ReadRegistryString(key.Path(), "Seven", text, 8));
    EXPECT_EQ("1234567", text);

    // Data of another type that fills the buffer with no zero byte has no terminator.
    const char binary[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Binary",
                                             REG_BINARY, binary, sizeof(binary)));
    text = "stale";
    EXPECT_FALSE(ReadRegistryString(key.Path(), "Binary", text, 8));
    EXPECT_EQ("", text);
    EXPECT_TRUE(ReadRegistryString(key.Path(), "Binary", text, 9));
    EXPECT_EQ("ABCDEFGH", text);

    // A string stored without its terminator reads back terminated all the same.
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Bare",
                                             REG_SZ, "ABCD", 4));
    EXPECT_TRUE(ReadRegistryString(key.Path(), "Bare", text, 64));
    EXPECT_EQ("ABCD", text);
}

}  // namespace
