#pragma once

#include "core/WideString.h"

#include <vector>

// Prints the file on the printer preset for automatic printing, with no window unless a
// failure must be shown. Returns the process exit code: 0 when sent, -1 when not.
int AutoPrintFile(const WideString& filePath);

// The same for several files, each in its own job, in order: 0 only when every file was
// sent. A failure of the printer stops at once with its one message; otherwise every file
// is tried, and one message names each file not sent and why.
int AutoPrintFiles(const std::vector<WideString>& files);
