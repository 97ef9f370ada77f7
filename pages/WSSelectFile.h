#pragma once
// The file page: the file to send (typed or pasted, from the recent files, picked with the
// open-file dialog or dropped on the window) and the destination printer. "Print >" checks
// the choice and hands it to the application frame.

#include "core/PrinterList.h"
#include "wizard/AppWindowState.h"

#include <string>
#include <vector>

class WSSelectFile : public AppWindowState {
public:
    static constexpr int kPageId = 2;
    static constexpr int kFileBoxId = 110;
    static constexpr int kBrowseId = 111;
    static constexpr int kPrinterBoxId = 112;
    static constexpr int kPrinterStateId = 113;
    // Posted to the frame with the number of the reading and the PrinterWait read.
    static constexpr UINT kPrinterStateMessage = 0x1C81;

    explicit WSSelectFile(AppWindowStateController* owner);
    ~WSSelectFile() override;

    bool OnNext(HWND frame) override;
    void CreateControls(HWND frame) override;
    bool Enter(HWND frame) override;
    bool Leave(HWND frame) override;
    bool HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    // A dropped file: the page becomes current with the file in the box, as after a pick.
    bool TakeFile(HWND frame, const WideString& path) override;
    bool TakeFiles(HWND frame, const std::vector<WideString>& files) override;

private:
    struct Offset {
        int x, y;  // from the client area's right and bottom edges
    };

    HWND CreateControl(HWND frame, const char* className, int id, const char* text,
                       DWORD style, Offset at, int width, int height, bool wide = false);
    void FillFileBox();
    void FillPrinterBox();
    void BrowseForFile(HWND frame);
    void UseChosenFile(HWND frame, const WideString& text);
    bool ShowWithText(HWND frame, const WideString& text);
    bool OnNextWithBatch(HWND frame, const std::vector<WideString>& batch);
    WideString PrinterChoice(HWND frame);
    static void Remember(const WideString& printer, const std::vector<WideString>& files);
    void UpdateNextForText(int textLength);
    void ShowControls(int show);
    void ReadPrinterState(HWND frame);

    Offset fileLabelAt = {-309, -202};
    Offset fileBoxAt = {-309, -180};
    Offset browseAt = {-88, -154};
    Offset printerLabelAt = {-309, -128};
    Offset printerBoxAt = {-309, -106};
    Offset printerStateAt = {-309, -80};

    HWND fileLabel = nullptr;
    HWND fileBox = nullptr;
    HWND browseButton = nullptr;
    HWND printerLabel = nullptr;
    HWND printerBox = nullptr;
    HWND printerState = nullptr;  // why the picked printer would hold a job; empty when ready
    // The printers as the box shows them, in its order.
    std::vector<PrinterEntry> shownPrinters;
    WPARAM stateReadings = 0;  // the number of the latest reading of the picked printer's state
};
