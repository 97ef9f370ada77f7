#include "settings/RegistryStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using testenv::ScratchKey;

namespace {

TEST(SettingsStore, RootNames)
{
    const struct {
        const char* path;
        HKEY root;  // null: opens nothing
        const char* subKey;
    } cases[] = {
        {"HKCR\\a", HKEY_CLASSES_ROOT, "a"}, {"HKEY_LOCAL_MACHINE/x/y", HKEY_LOCAL_MACHINE, "x\\y"},
        {"HKU\\", HKEY_USERS, ""}, {"HKDD\\z", HKEY_DYN_DATA, "z"},
        {"HKCC\\z", HKEY_CURRENT_CONFIG, "z"}, {"HKEY_PERFORMANCE_DATA\\z", HKEY_PERFORMANCE_DATA, "z"},
        {"HKCU/Software", HKEY_CURRENT_USER, "Software"}, {"hkcu\\Software", nullptr, ""},
        {"HKCU", nullptr, ""}, {"", nullptr, ""}, {"HKXX\\Software", nullptr, ""},
    };
    for (const auto& c : cases) {
        std::string subKey;
        EXPECT_EQ(c.root, SplitRootKey(c.path, subKey)) << c.path;
        EXPECT_EQ(c.root ? c.subKey : "", c.root ? subKey : "") << c.path;
    }
    ScratchKey key;
    const std::string lower = "hkcu" + key.Path().substr(4);
    EXPECT_FALSE(WriteRegistryDword(lower, "Number", 1));
    EXPECT_FALSE(WriteRegistryString("", "Text", "x"));
    EXPECT_FALSE(DeleteRegistryValue("", "Text"));
    EXPECT_FALSE(RegistryValueExists("HKCU", "Text"));
    EXPECT_FALSE(testenv::RawKeyExists(key.SubKey()));
}

TEST(SettingsStore, WhatIsWrittenAndHowItReadsBack)
{
    ScratchKey key;
    // A missing key reads as zeros and false, and nothing creates it.
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(ReadRegistryValue(key.Path(), "Text", buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(16, '\0'), std::string(buffer, 16));
    DWORD number = 77;
    EXPECT_FALSE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(0u, number);
    EXPECT_FALSE(RegistryValueExists(key.Path(), "Number") ||
                 DeleteRegistryValue(key.Path(), "Number") || testenv::RawKeyExists(key.SubKey()));

    // Writes create the missing keys, long or short root names, either slash.
    const std::string deep = key.Path() + "\\a\\b", sub = key.SubKey() + "\\a\\b";
    ASSERT_TRUE(WriteRegistryString("HKEY_CURRENT_USER" + deep.substr(4), "Text", "Kestrola"));
    ASSERT_TRUE(WriteRegistryString(deep, "Empty", ""));
    ASSERT_TRUE(WriteRegistryDword(deep, "Number", 0x01020304));
    const struct {
        const char* name;
        DWORD type, size;  // the terminator counted
    } stored[] = {{"Text", REG_SZ, 9}, {"Empty", REG_SZ, 0}, {"Number", REG_DWORD, 4}};
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &raw));
    for (const auto& c : stored) {
        DWORD type = 0, size = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(raw, c.name, nullptr, &type, nullptr, &size));
        EXPECT_EQ(c.type, type) << c.name;
        EXPECT_EQ(c.size, size) << c.name;
    }
    RegCloseKey(raw);
    number = 0;
    EXPECT_TRUE(ReadRegistryDword("HKCU/" + sub, "Number", number));
    EXPECT_EQ(0x01020304u, number);
    number = 77;  // a missing value of an existing key
    EXPECT_FALSE(ReadRegistryDword(deep, "Other", number) || DeleteRegistryValue(deep, "Other"));
    EXPECT_EQ(0u, number);
    EXPECT_TRUE(RegistryValueExists(deep, "Text") && DeleteRegistryValue(deep, "Text"));
    EXPECT_FALSE(RegistryValueExists(deep, "Text") || DeleteRegistryValue(deep, "Text"));

    // Texts read through a buffer: data that does not fit with its terminator is a failure,
    // and the text comes back terminated, whatever type or terminator was stored.
    const struct {
        DWORD type;
        std::string data;  // stored as is, no terminator added
        DWORD bufferSize;
        bool read;
        std::string text;
    } cases[] = {
        {REG_SZ, std::string(40, 'L') + '\0', 8, false, ""},
        {REG_SZ, std::string("1234567\0", 8), 8, true, "1234567"},
        {REG_SZ, std::string("\0", 1), 8, true, ""},
        {REG_BINARY, "ABCDEFGH", 8, false, ""},
        {REG_BINARY, "ABCDEFGH", 9, true, "ABCDEFGH"},
        {REG_SZ, "ABCD", 64, true, "ABCD"},
    };
    for (const auto& c : cases) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Value", c.type, c.data.data(),
                        static_cast<DWORD>(c.data.size()));
        std::string text = "stale";
        EXPECT_EQ(c.read, ReadRegistryString(key.Path(), "Value", text, c.bufferSize)) << c.data;
        EXPECT_EQ(c.text, text) << c.data;
    }
    std::string text = "stale";
    EXPECT_FALSE(ReadRegistryString(key.Path(), "Missing", text, 64));
    EXPECT_EQ("", text);
}

}  // namespace
