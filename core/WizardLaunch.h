#pragma once

#include "core/WideString.h"

#include <vector>

// Opens the wizard, on the file page when filePath or batch is not empty, and returns when
// the user has closed it.
void LaunchWizard(const WideString& filePath, const std::vector<WideString>& batch = {});
