#include "core/WizardLaunch.h"

#include "pages/WSMain.h"
#include "pages/WSPrint.h"
#include "pages/WSSelectFile.h"
#include "resources/resource.h"
#include "wizard/AppWindowStateController.h"

void LaunchWizard(const WideString& filePath, const std::vector<WideString>& batch)
{
    AppWindowStateController controller;
    if (!filePath.empty())
        controller.SetFilePath(filePath);
    controller.SetBatch(batch);

    // The pages live until the process ends; the frame does not own them.
    controller.AddPage(new WSMain(&controller), WSMain::kPageId);
    controller.AddPage(new WSSelectFile(&controller), WSSelectFile::kPageId);
    controller.AddPage(new WSPrint(&controller), WSPrint::kPageId);

    const size_t startIndex = controller.GetFilePath().empty() && batch.empty() ? 0 : 1;
    const RECT bounds = {0, 0, 458, 244};
    controller.Run(WS_EX_DLGMODALFRAME, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                   "Morrowick Kestrola", bounds, nullptr, IDI_KESTROLA, IDI_KESTROLA_SMALL,
                   nullptr, startIndex);
}
