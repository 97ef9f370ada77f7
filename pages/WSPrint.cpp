#include "pages/WSPrint.h"

#include "core/FilePath.h"
#include "core/OnDemandLibraries.h"
#include "core/OwnedHandle.h"
#include "core/RawPrintJob.h"
#include "resources/resource.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"
#include "toolkit/Dpi.h"
#include "toolkit/ScaledArt.h"
#include "wizard/AppWindowStateController.h"

#include <exception>

WSPrint::WSPrint(AppWindowStateController* owner) : AppWindowState(owner) {}

WSPrint::~WSPrint()
{
    if (statusText != nullptr && IsWindow(statusText))
        DestroyWindow(statusText);
    for (HBITMAP bitmap : {busyStrip, successImage, failureImage}) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
    }
}

void WSPrint::CreateControls(HWND frame)
{
    if (statusText == nullptr) {
        // Wide, for a message that names a file or printer.
        statusText = CreateWindowExW(0, L"static", L"", WS_CHILD, 0, 0, 0, 0, frame,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)),
                                     GetModuleHandleA(nullptr), nullptr);
        // Tall enough for a notice under the outcome, down to the line above the buttons.
        owner->Place(statusText, statusLeft, statusTop, -statusLeft - 7, 86);
    }
    if (busyStrip == nullptr)
        LoadPictures(owner->Dpi());
}

void WSPrint::Rescale(HWND, UINT dpi)
{
    LoadPictures(dpi);
}

void WSPrint::LoadPictures(UINT dpi)
{
    for (HBITMAP* bitmap : {&busyStrip, &successImage, &failureImage}) {
        if (*bitmap != nullptr)
            DeleteObject(*bitmap);
    }
    busyStrip = LoadBitmapForDpi(IDB_BUSY, dpi);
    BITMAP info = {};
    if (busyStrip != nullptr && GetObjectA(busyStrip, sizeof(info), &info)) {
        frameWidth = info.bmWidth / frameCount;
        frameHeight = info.bmHeight;
    }
    successImage = LoadBitmapForDpi(IDB_SUCCESS, dpi);
    failureImage = LoadBitmapForDpi(IDB_FAILURE, dpi);
}

bool WSPrint::OnNext(HWND frame)
{
    // Next is "Exit" here: it closes the wizard as the Cancel button would.
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    return true;
}

bool WSPrint::Enter(HWND frame)
{
    owner->SetNextButton(true, true, "Exit");
    owner->SetBackButton(true, true, "< Back");
    owner->SetCancelButton(false, true, "Cancel");
    errorText.clear();
    SetWindowTextA(statusText, "Printing...");
    ShowWindow(statusText, SW_SHOW);
    // The job starts once the page change is complete.
    startQueued = true;
    PostMessageA(frame, kStartPrintMessage, 0, 0);
    AdvanceAnimation(frame);
    SetTimer(frame, kAnimationTimer, 100, nullptr);
    return true;
}

bool WSPrint::Leave(HWND)
{
    startQueued = false;
    ShowWindow(statusText, SW_HIDE);
    SetWindowTextA(statusText, "");
    picture = Picture::None;
    return true;
}

bool WSPrint::HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, Failed() ? RGB(255, 0, 0) : RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        *result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE)
            return false;
        return !AllowClose(frame);
    case WM_CLOSE:
        // A close sent straight to the window, without the system command, asks too.
        return !AllowClose(frame);
    case WM_TIMER:
        if (wParam == kAnimationTimer)
            AdvanceAnimation(frame);
        return false;
    case kStartPrintMessage:
        startQueued = false;
        RunPrintJob(frame);
        return true;
    case kBatchProgressMessage:
        if (wParam < batch.size() && workerThread != nullptr) {
            const WideString text = L"Printing " + path::FromAnsi(DecimalText(wParam + 1)) +
                                    L" of " + path::FromAnsi(DecimalText(batch.size())) +
                                    L": " + path::BaseName(batch[wParam]) + L"...";
            SetWindowTextW(statusText, text.c_str());
        }
        return true;
    case WM_DROPFILES:
        // A file dropped during a job, or before the confirmed job has started, is not
        // taken; after it, the frame takes it.
        if (workerThread == nullptr && !startQueued)
            return false;
        ReleaseDrop(reinterpret_cast<HDROP>(wParam));
        *result = 0;
        return true;
    }
    return false;
}

// With no job running the window closes as on any other page; during a job the user is
// asked first.
bool WSPrint::AllowClose(HWND frame)
{
    if (workerThread == nullptr || terminateRequested)
        return true;
    return ConfirmTerminate(frame);
}

bool WSPrint::ConfirmTerminate(HWND frame)
{
    if (workerThread == nullptr)
        return false;
    if (MessageBoxA(frame, "Terminate printing and exit Kestrola?", "Currently Printing",
                    MB_YESNO | MB_ICONWARNING) != IDYES)
        return false;
    // The job cannot be asked to stop; the program ends right after it.
    terminateRequested = true;
    TerminateThread(workerThread, 0xFFFFFFFF);
    endProcess();
    return true;
}

void WSPrint::EndProcessAtOnce()
{
    // No teardown: neither the runtime's nor the system libraries' detach handlers.
    TerminateProcess(GetCurrentProcess(), 0);
}

void WSPrint::DrawPageBitmap(HDC dc, const RECT& client, HBITMAP bitmap, int sourceX,
                             int sourceY)
{
    if (bitmap == nullptr)
        return;
    OwnedMemoryDC memory(CreateCompatibleDC(dc));
    if (!memory.valid())
        return;
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap);
    const UINT dpi = owner->Dpi();
    BitBlt(dc, client.right + dpi::Scale(imageLeft, dpi), client.bottom + dpi::Scale(imageTop, dpi),
           frameWidth, frameHeight, memory.get(), sourceX, sourceY, SRCCOPY);
    SelectObject(memory.get(), previous);
}

void WSPrint::DrawPageBitmap(HWND frame, HBITMAP bitmap, int sourceX, int sourceY)
{
    RECT client = {};
    GetClientRect(frame, &client);
    const HDC dc = GetDC(frame);
    if (dc == nullptr)
        return;
    DrawPageBitmap(dc, client, bitmap, sourceX, sourceY);
    ReleaseDC(frame, dc);
}

void WSPrint::AdvanceAnimation(HWND frame)
{
    pictureFrame = frameIndex;
    picture = Picture::Busy;
    DrawPageBitmap(frame, busyStrip, frameIndex * frameWidth, 0);
    frameIndex = (frameIndex + 1) % frameCount;
}

// The animation frame or the result stays in place when the window is repainted.
void WSPrint::Paint(HWND, HDC dc, const RECT& client)
{
    switch (picture) {
    case Picture::Busy:
        DrawPageBitmap(dc, client, busyStrip, pictureFrame * frameWidth, 0);
        break;
    case Picture::Success:
        DrawPageBitmap(dc, client, successImage, 0, 0);
        break;
    case Picture::Failure:
        DrawPageBitmap(dc, client, failureImage, 0, 0);
        break;
    case Picture::None:
        break;
    }
}

DWORD WINAPI WSPrint::PrintThreadProc(void* parameter)
{
    auto* page = static_cast<WSPrint*>(parameter);
    if (page == nullptr)
        return 0;
    try {
        const WideString filePath = page->AppOwner()->GetFilePath();
        const WideString printerName = page->AppOwner()->GetPrinterName();
        if (!page->batch.empty()) {
            page->workerBatch = PrintBatch(page->batch, printerName, true, [page](std::size_t i) {
                PostMessageA(page->progressWindow, kBatchProgressMessage, i, 0);
            });
            page->workerQueueWait = page->workerBatch.wait;
            return 0;
        }
        WideString error;
        PrinterWait wait = PrinterWait::None;
        if (!PrintFileRaw(filePath, printerName, error, wait))
            page->workerError = error;
        page->workerQueueWait = wait;
    } catch (const std::exception&) {
        page->workerError = L"An error occurred sending the file data to the printer.";
    }
    return 0;
}

void WSPrint::RunPrintJob(HWND frame)
{
    DeleteRegistryValue(settings::kProgramKey, settings::kLastError);
    owner->SetNextButton(true, false, "Exit");
    owner->SetBackButton(true, false, "< Back");
    workerError.clear();
    workerQueueWait = PrinterWait::None;
    queueWait = PrinterWait::None;
    batch = AppOwner()->GetBatch();
    progressWindow = frame;
    workerBatch = BatchOutcome();
    batchFailure.clear();

    workerThread = CreateThread(nullptr, 0, PrintThreadProc, this, 0, nullptr);
    if (workerThread == nullptr) {
        errorText = L"An error occurred while starting the print job.";
    } else {
        for (;;) {
            const DWORD wait =
                MsgWaitForMultipleObjects(1, &workerThread, FALSE, INFINITE, QS_ALLINPUT);
            if (wait != WAIT_OBJECT_0 + 1) {
                if (wait == WAIT_OBJECT_0) {
                    errorText = workerError;
                    queueWait = workerQueueWait;
                    if (!batch.empty() && errorText.empty())
                        batchFailure = BatchFailureText(batch, workerBatch);
                } else {
                    errorText = L"An error occurred waiting for the print job to finish.";
                }
                break;
            }
            MSG msg;
            // Wide, as the frame's own loop, so typed characters reach a Unicode control whole.
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    // Belongs to the frame's own loop: put it back for it.
                    PostQuitMessage(static_cast<int>(msg.wParam));
                    return;
                }
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                // The window is being destroyed; its quit message must reach the frame.
                if (terminateRequested)
                    return;
            }
        }
        CloseHandle(workerThread);
        workerThread = nullptr;
        if (terminateRequested)
            return;
    }
    ShowOutcome(frame);
}

void WSPrint::ShowOutcome(HWND frame)
{
    KillTimer(frame, kAnimationTimer);
    const bool failed = Failed();
    picture = failed ? Picture::Failure : Picture::Success;
    DrawPageBitmap(frame, failed ? failureImage : successImage, 0, 0);
    owner->SetNextButton(true, true, "Exit");
    owner->SetBackButton(true, true, "< Back");
    if (!errorText.empty()) {
        SetWindowTextW(statusText, errorText.c_str());
        WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);
    } else if (failed) {
        SetWindowTextW(statusText, batchFailure.c_str());
        WriteRegistryString(settings::kProgramKey, settings::kLastError, batchFailure);
    } else {
        std::string text = "The file was sent to the printer successfully!";
        if (!batch.empty())
            text = "All " + DecimalText(batch.size()) +
                   " files were sent to the printer successfully!";
        if (queueWait != PrinterWait::None)
            text = text + "\n\n" + DescribeWait(queueWait).notice;
        SetWindowTextA(statusText, text.c_str());
    }
    // A batch closes by itself only when every file was sent.
    if (!batchFailure.empty())
        return;
    // A notice that closes with the wizard would never be read.
    DWORD autoClose = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAutoClose, autoClose);
    if (autoClose == 1 && queueWait == PrinterWait::None)
        OnNext(frame);
}
