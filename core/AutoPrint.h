#pragma once

#include "core/WideString.h"

// Prints the file on the printer preset for automatic printing, with no window unless a
// failure must be shown. Returns the process exit code: 0 when sent, -1 when not.
int AutoPrintFile(const WideString& filePath);
