#include "settings/RegistryStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using testenv::RawKeyExists;

namespace {

TEST(SettingsStore, RootNamesWritesAndReads)
{
    const struct {
        const char* path;
        HKEY root;  // null: opens nothing
        const char* subKey;
    } roots[] = {
        {"HKCR\\a", HKEY_CLASSES_ROOT, "a"}, {"HKU\\", HKEY_USERS, ""},
        {"HKEY_LOCAL_MACHINE/x/y", HKEY_LOCAL_MACHINE, "x\\y"}, {"HKDD\\z", HKEY_DYN_DATA, "z"},
        {"HKCC\\z", HKEY_CURRENT_CONFIG, "z"}, {"HKPD\\z", HKEY_PERFORMANCE_DATA, "z"},
        {"HKCU/Software", HKEY_CURRENT_USER, "Software"}, {"hkcu\\Software", nullptr, ""},
        {"HKCU", nullptr, ""}, {"", nullptr, ""}, {"HKXX\\Software", nullptr, ""},
    };
    for (const auto& c : roots) {
        std::string subKey;
        EXPECT_EQ(c.root, SplitRootKey(c.path, subKey)) << c.path;
        EXPECT_EQ(c.root ? c.subKey : "", c.root ? subKey : "") << c.path;
    }

    // Nothing is read, written or created through a missing key or a root not named right.
    testenv::ScratchKey key;
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(ReadRegistryValue(key.Path(), "Text", buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(16, '\0'), std::string(buffer, 16));
    DWORD number = 77;
    EXPECT_FALSE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(0u, number);
    EXPECT_FALSE(RegistryValueExists(key.Path(), "Number") || RegistryValueExists("HKCU", "Text") ||
                 DeleteRegistryValue(key.Path(), "Number") || DeleteRegistryValue("", "Text") ||
                 WriteRegistryDword("hkcu" + key.Path().substr(4), "Number", 1) ||
                 WriteRegistryString("", "Text", "x") || RawKeyExists(key.SubKey()));

    // Writes create the missing keys, whatever the root's spelling. Type (1: REG_SZ,
    // 4: REG_DWORD) and size, the terminator counted but for the empty text.
    const std::string deep = key.Path() + "\\a\\b", sub = key.SubKey() + "\\a\\b";
    ASSERT_TRUE(WriteRegistryString("HKEY_CURRENT_USER" + deep.substr(4), "Text", "Kestrola") &&
                WriteRegistryString(deep, "Empty", "") &&
                WriteRegistryDword("HKCU/" + sub, "Number", 0x01020304));
    HKEY raw = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &raw);
    for (const auto& c : std::map<std::string, std::string>{
             {"Text", "1 9"}, {"Empty", "1 0"}, {"Number", "4 4"}}) {
        DWORD type = 0, size = 0;
        RegQueryValueExA(raw, c.first.c_str(), nullptr, &type, nullptr, &size);
        EXPECT_EQ(c.second, std::to_string(type) + " " + std::to_string(size)) << c.first;
    }
    RegCloseKey(raw);
    EXPECT_TRUE(ReadRegistryDword(deep, "Number", number));
    EXPECT_EQ(0x01020304u, number);
    EXPECT_FALSE(ReadRegistryDword(deep, "Other", number) || DeleteRegistryValue(deep, "Other"));
    EXPECT_EQ(0u, number);  // a missing value of an existing key
    EXPECT_TRUE(RegistryValueExists(deep, "Text") && DeleteRegistryValue(deep, "Text"));
    EXPECT_FALSE(RegistryValueExists(deep, "Text") || DeleteRegistryValue(deep, "Text"));

    // Texts read through a buffer: data that does not fit with its terminator is a failure,
    // and the text comes back terminated, whatever type or terminator was stored.
    const struct {
        DWORD type;
        std::string data;  // stored as is, no terminator added; "": no value
        DWORD bufferSize;
        bool read;
        std::string text;
    } texts[] = {
        {REG_SZ, std::string(40, 'L') + '\0', 8, false, ""},
        {REG_SZ, std::string("1234567\0", 8), 8, true, "1234567"},
        {REG_SZ, std::string("\0", 1), 8, true, ""},
        {REG_BINARY, "ABCDEFGH", 8, false, ""},
        {REG_BINARY, "ABCDEFGH", 9, true, "ABCDEFGH"},
        {REG_SZ, "ABCD", 64, true, "ABCD"},
        {REG_SZ, "", 64, false, ""},
    };
    for (const auto& c : texts) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Value");
        if (!c.data.empty())
            RegSetKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Value", c.type,
                            c.data.data(), static_cast<DWORD>(c.data.size()));
        std::string text = "stale";
        EXPECT_EQ(c.read, ReadRegistryString(key.Path(), "Value", text, c.bufferSize)) << c.data;
        EXPECT_EQ(c.text, text) << c.data;
    }
}

}  // namespace
