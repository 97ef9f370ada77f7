#pragma once
// The program's own wizard frame: the chosen file path and printer name that the pages
// share, the "About..." button and system-menu entry, the white strip with the maker's
// emblem and (after the start page) the printer picture, black-on-white controls, the
// About button in the Tab cycle, and files dropped on the window.

#include "core/WideString.h"
#include "wizard/WindowStateController.h"

#include <shellapi.h>

#include <vector>

class AppWindowState;

class AppWindowStateController : public WindowStateController {
public:
    static constexpr int kAboutCommand = 1000;  // the button's id and the menu entry's
    static constexpr int kStripHeight = 158;
    static constexpr int kStripFromBottom = 196;

    AppWindowStateController();
    ~AppWindowStateController() override;

    // Only the program's own pages: each may take a dropped file.
    void AddPage(AppWindowState* page, int id);

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    void Paint(HWND window, HDC dc, const RECT& client) override;
    void FocusNext() override;  // About, Cancel, Back, Next, then the page's tab stops
    void FocusPrev() override;
    void OnPageChanged() override;

    void SetFilePath(const WideString& path);
    WideString GetFilePath() const;
    void SetPrinterName(const WideString& name);
    WideString GetPrinterName() const;
    // Several files chosen at once, full paths in order; empty when one file is chosen.
    void SetBatch(const std::vector<WideString>& files);
    const std::vector<WideString>& GetBatch() const;

protected:
    WideString filePath;
    WideString printerName;
    std::vector<WideString> batch;
    HWND aboutButton = nullptr;
    ButtonSlot aboutSlot = {-442, -30};

private:
    void AddAboutToSystemMenu(HWND window);
    void CreateAboutButton(HWND window);
    void ShowAboutBox(HWND window);
    void TakeDroppedFiles(HWND window, HDROP drop);
};
