#pragma once
// The print page: runs the raw print job on a worker thread while the wizard stays
// responsive, animates meanwhile, then shows the outcome and stores a failure as
// "LastError".

#include "core/PrintBatch.h"
#include "core/QueueState.h"
#include "core/WideString.h"
#include "wizard/AppWindowState.h"

#include <string>
#include <vector>

class WSPrint : public AppWindowState {
public:
    static constexpr int kPageId = 3;
    static constexpr UINT kStartPrintMessage = 0x1C80;
    static constexpr UINT_PTR kAnimationTimer = 1;
    static constexpr int kStatusId = 120;
    // Posted by the worker with the index of the batch's file whose job begins.
    static constexpr UINT kBatchProgressMessage = 0x1C82;

    explicit WSPrint(AppWindowStateController* owner);
    ~WSPrint() override;

    bool OnNext(HWND frame) override;
    void CreateControls(HWND frame) override;
    void Rescale(HWND frame, UINT dpi) override;
    void Paint(HWND frame, HDC dc, const RECT& client) override;
    bool Enter(HWND frame) override;
    bool Leave(HWND frame) override;
    bool HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

    // Asks whether to end a running job and exit; true after the user said Yes and the
    // worker was ended.
    bool ConfirmTerminate(HWND frame);

    // Ends the process with exit code 0 once the user confirmed ending a running job. The
    // worker may have died holding the heap's lock, so nothing that allocates or frees
    // may run after it. Tests that keep their process put another function here.
    void (*endProcess)() = EndProcessAtOnce;
    static void EndProcessAtOnce();

private:
    enum class Picture { None, Busy, Success, Failure };

    bool AllowClose(HWND frame);
    void LoadPictures(UINT dpi);
    void DrawPageBitmap(HDC dc, const RECT& client, HBITMAP bitmap, int sourceX, int sourceY);
    void DrawPageBitmap(HWND frame, HBITMAP bitmap, int sourceX, int sourceY);
    void DrawCurrentPicture(HWND frame, HDC dc, const RECT& client);
    void AdvanceAnimation(HWND frame);
    void RunPrintJob(HWND frame);
    void ShowOutcome(HWND frame);
    bool Failed() const { return !errorText.empty() || !batchFailure.empty(); }
    static DWORD WINAPI PrintThreadProc(void* page);

    HWND statusText = nullptr;
    int statusLeft = -260;
    int statusTop = -132;
    int imageLeft = -301;
    int imageTop = -150;
    HBITMAP busyStrip = nullptr;
    HBITMAP successImage = nullptr;
    HBITMAP failureImage = nullptr;
    HANDLE workerThread = nullptr;
    bool startQueued = false;  // Enter has posted the start message; it has not arrived yet
    bool terminateRequested = false;
    int frameCount = 12;
    int frameIndex = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    // The outcome of the current job, as the page shows it; empty means success. Only the
    // interface thread touches it.
    WideString errorText;
    // Why the queue holds a job that was sent; None when it prints at once.
    PrinterWait queueWait = PrinterWait::None;
    // What the worker hands over when it ends; read only after its thread has finished.
    WideString workerError;
    PrinterWait workerQueueWait = PrinterWait::None;
    // The files of the current job when several go at once, copied as it starts; the
    // worker reads them and posts its progress to progressWindow.
    std::vector<WideString> batch;
    HWND progressWindow = nullptr;
    BatchOutcome workerBatch;  // what the worker hands over for a batch
    WideString batchFailure;   // the outcome of a batch not sent whole; empty otherwise
    Picture picture = Picture::None;
    int pictureFrame = 0;  // the animation frame last drawn
};
