#pragma once
// The start page: "Send a file to the printer" goes on to the file page; "Configure
// automatic printing" opens the configuration dialog over the wizard.

#include "toolkit/MWButtonXP.h"
#include "wizard/AppWindowState.h"

class WSMain : public AppWindowState {
public:
    static constexpr int kPageId = 1;
    static constexpr int kSendId = 101;
    static constexpr int kConfigureId = 102;

    explicit WSMain(AppWindowStateController* owner);
    ~WSMain() override;

    void CreateControls(HWND frame) override;
    void Rescale(HWND frame, UINT dpi) override;
    void DestroyControls(HWND frame) override;
    bool Enter(HWND frame) override;
    bool Leave(HWND frame) override;
    bool HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

private:
    struct ButtonLayout {
        const char* caption;
        int id;
        int icon;
        int x, y;  // from the client area's right and bottom edges
        int width, height;
    };

    void CreateImageButton(HWND frame, MWButtonXP& button, const ButtonLayout& layout);

    MWButtonXP sendButton;
    MWButtonXP configureButton;
    ButtonLayout sendLayout = {"Send a file to the printer", kSendId, 107, -330, -194, 248, 58};
    ButtonLayout configureLayout = {"Configure automatic printing", kConfigureId, 137, -330, -119,
                                    248, 58};
};
