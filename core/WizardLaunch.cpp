#include "core/WizardLaunch.h"

void LaunchWizard(const std::string& /*filePath*/)
{
    // The wizard's pages are not in this build yet: a run without automatic printing
    // ends at once.
}
