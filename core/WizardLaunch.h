#pragma once

#include "core/WideString.h"

// Opens the wizard, on the file page when filePath is not empty, and returns when the
// user has closed it.
void LaunchWizard(const WideString& filePath);
