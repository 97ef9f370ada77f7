#include "pages/WSMain.h"

#include "pages/ConfigureDlg.h"
#include "pages/WSSelectFile.h"
#include "resources/resource.h"
#include "wizard/AppWindowStateController.h"

WSMain::WSMain(AppWindowStateController* owner) : AppWindowState(owner) {}

WSMain::~WSMain() = default;

void WSMain::CreateImageButton(HWND frame, MWButtonXP& button, const ButtonLayout& layout)
{
    if (button.GetHwnd() != nullptr)
        return;
    const RECT rect = {0, 0, layout.width, layout.height};
    if (!button.Create(0, layout.caption, WS_CHILD | WS_GROUP | WS_TABSTOP, rect, frame,
                       layout.id))
        return;
    owner->Place(button.GetHwnd(), layout.x, layout.y, layout.width, layout.height);
    button.SetFlat(false, false);
    button.SetIcons(layout.icon, 0);
    AddControl(button.GetHwnd());
}

void WSMain::CreateControls(HWND frame)
{
    CreateImageButton(frame, sendButton, sendLayout);
    CreateImageButton(frame, configureButton, configureLayout);
}

// The buttons' icons for the new scale.
void WSMain::Rescale(HWND, UINT)
{
    sendButton.SetIcons(sendLayout.icon, 0);
    configureButton.SetIcons(configureLayout.icon, 0);
}

void WSMain::DestroyControls(HWND)
{
    DestroyWindow(sendButton.GetHwnd());
    DestroyWindow(configureButton.GetHwnd());
}

bool WSMain::Enter(HWND)
{
    owner->SetNextButton(false, true, "Next >");
    owner->SetBackButton(false, false, "< Back");
    // With Back and Next hidden, "Exit" moves to the rightmost slot.
    owner->SetCancelButton(true, true, "Exit");
    for (HWND button : {sendButton.GetHwnd(), configureButton.GetHwnd()}) {
        ShowWindow(button, SW_SHOW);
        EnableWindow(button, TRUE);
    }
    return true;
}

bool WSMain::Leave(HWND)
{
    ShowWindow(sendButton.GetHwnd(), SW_HIDE);
    ShowWindow(configureButton.GetHwnd(), SW_HIDE);
    return true;
}

bool WSMain::HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    if (message != WM_COMMAND)
        return false;
    switch (LOWORD(wParam)) {
    case kSendId:
        owner->GoToPage(WSSelectFile::kPageId);
        return true;
    case kConfigureId: {
        ConfigureDlg dialog;
        dialog.DoModal(IDD_CONFIGURE, frame);
        return true;
    }
    }
    return false;
}
