#pragma once
// Registry access by key path ("HKCU\Software\...") and value name. Every call opens
// the key, does one thing and closes it again; nothing is cached.

#include <windows.h>

#include "core/WideString.h"

#include <string>

// The predefined root named at the head of keyPath, or null; the rest goes to subKey.
HKEY SplitRootKey(const std::string& keyPath, std::string& subKey);

// An open key, or null. With create set, a missing key is created (rights 0x2001F).
HKEY OpenRegistryKey(const std::string& keyPath, bool create, REGSAM access);

// Zero-fills the buffer, then reads the value's raw data into it, whatever its type.
bool ReadRegistryValue(const std::string& keyPath, const std::string& valueName, void* buffer,
                       DWORD size);
bool ReadRegistryDword(const std::string& keyPath, const std::string& valueName, DWORD& value);

// Reads a text through a buffer of bufferSize bytes. The result is always a terminated
// string: a value whose data, terminator included, does not fit the buffer reads as a
// failure with an empty text, as does a missing value.
bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& text, DWORD bufferSize);

// Texts that may hold any character (file names), through the wide calls. A text of the
// ANSI code page reads back through ReadRegistryString byte for byte as it was written by
// WriteRegistryString. bufferChars counts characters, terminator included.
bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        WideString& text, DWORD bufferChars);
// The same for a text of any length (a path); data stored without its terminator is taken
// up to its end.
bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        WideString& text);
bool WriteRegistryString(const std::string& keyPath, const std::string& valueName,
                         const WideString& text);

bool WriteRegistryDword(const std::string& keyPath, const std::string& valueName, DWORD value);
// The empty text is stored with a data size of 0.
bool WriteRegistryString(const std::string& keyPath, const std::string& valueName,
                         const std::string& text);
bool DeleteRegistryValue(const std::string& keyPath, const std::string& valueName);
bool RegistryValueExists(const std::string& keyPath, const std::string& valueName);
