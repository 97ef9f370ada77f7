#pragma once
// Sends a file's bytes unchanged to a printer as one "RAW" spooler job named "Kestrola",
// followed by a form feed (and a line feed when "AddNewLineAfterFormFeed" is on).

#include <string>

// Returns true when the data and the trailer were handed to the spooler and the document
// was closed. On failure errorText receives a fixed message; on success it is untouched.
bool PrintFileRaw(const std::string& filePath, const std::string& printerName,
                  std::string& errorText);

// Fills the single %s of a message with text of any length.
std::string FormatWithText(const char* format, const std::string& text);
