#pragma once
// The wizard's frame: its one top-level window, the button bar (Cancel, Back, Next), the
// ordered list of pages and the message loop. Every window message goes first to the
// frame's own handling of its buttons and keyboard commands, then to the current page,
// then to the overridable defaults. There is no dialog manager: Tab, Shift+Tab, Esc and,
// on a radio button of the page, the arrow keys come from the frame's own accelerators
// (FrameAccelerators.h); where they move the focus is FrameFocus's business.

#include "core/OwnedHandle.h"
#include "wizard/FrameFocus.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class WindowState;

class WindowStateController {
public:
    static constexpr const char* kClassName = "MorrowickWizardClass";
    static constexpr const char* kControllerProperty = "WindowStateControllerObj";

    static constexpr int kCancelId = IDCANCEL;
    static constexpr int kBackId = 12;
    static constexpr int kNextId = 13;

    static constexpr int kButtonWidth = 73;
    static constexpr int kButtonHeight = 21;

    // "No current page": every test of the index compares it with the number of pages.
    static constexpr std::size_t kNoPage = static_cast<std::size_t>(-1);

    WindowStateController();
    virtual ~WindowStateController();
    WindowStateController(const WindowStateController&) = delete;
    WindowStateController& operator=(const WindowStateController&) = delete;

    // Before Run. The frame does not own the page; its index is its place in the list.
    virtual void AddPage(WindowState* page, int id);
    // Creates the window (hidden, centred), the buttons and every page's controls, enters
    // the page at startIndex (index 0 when it is past the end), shows the window and runs
    // the message loop. False when the class or the window cannot be created; true once
    // the loop has ended. Icon ids are resources of the program's module, 0 for none.
    virtual bool Run(DWORD exStyle, DWORD style, const std::string& title, const RECT& windowRect,
                     HWND parent, WORD largeIconId, WORD smallIconId, HMENU menu,
                     std::size_t startIndex);
    // The frame's defaults, after the current page: centring on WM_CREATE; on WM_DESTROY
    // every page's DestroyControls and the quit message.
    virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);
    virtual void Paint(HWND window, HDC dc, const RECT& client);
    virtual void FocusNext();  // Tab: Cancel, Back, Next, then the page's tab stops
    virtual void FocusPrev();  // Shift+Tab: the same cycle backwards
    virtual void OnPageChanging();
    virtual void OnPageChanged();
    // May adjust the class before it is registered; false makes Run fail.
    virtual bool PrepareWindowClass(WNDCLASSEXA& windowClass);

    // Makes the page at index current after the current page's Leave agreed; true when
    // Leave agreed (an index past the end then changes nothing more).
    bool ShowPageAt(std::size_t index);
    // Jumps to the last page added with id; false when there is no current page, id is the
    // current page's own, no page has it, or the current page's Leave refuses.
    bool GoToPage(int id);

    // Caption, enabled state and visibility of a button; Cancel then takes its slot.
    void SetCancelButton(bool visible, bool enabled, const std::string& caption);
    void SetBackButton(bool visible, bool enabled, const std::string& caption);
    void SetNextButton(bool visible, bool enabled, const std::string& caption);
    // Cancel takes the rightmost slot that Back and Next leave free.
    void PlaceCancelButton();

    // A control of the frame at 96 DPI: x and y from the client area's right and bottom
    // edges. It is put there for the frame's DPI now and again whenever the DPI changes,
    // and gets the frame's font when it is first placed.
    void Place(HWND control, int x, int y, int width, int height);
    UINT Dpi() const { return dpi; }
    HFONT Font() const { return static_cast<HFONT>(font.get()); }

    // The frame's handling of one message; true when *result is what the window returns.
    bool RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK WizardWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);

protected:
    struct ButtonSlot {
        int x;  // from the right edge of the client rectangle
        int y;  // from its bottom edge
    };

    struct Placement {
        HWND control;
        int x, y, width, height;  // at 96 DPI
    };

    WindowState* CurrentPage() const;
    // The Tab walk of FrameFocus::Cycle over these buttons and the current page.
    void CycleFocus(const std::vector<HWND>& buttons, bool forward);

    HWND frameWindow = nullptr;
    FrameFocus focus;
    HWND cancelButton = nullptr;
    HWND backButton = nullptr;
    HWND nextButton = nullptr;
    ButtonSlot cancelSlot = {-261, -30};
    ButtonSlot backSlot = {-174, -30};
    ButtonSlot nextSlot = {-87, -30};
    std::vector<std::pair<WindowState*, int>> pages;
    std::size_t currentIndex = kNoPage;
    UINT dpi = 96;
    OwnedGdiObject font;
    std::vector<Placement> placements;

private:
    bool RegisterFrameClass();
    void FitToDpi(const RECT& windowRect, DWORD style, DWORD exStyle);
    void MoveToPlace(const Placement& placement, const RECT& client);
    // The suggested rectangle of WM_DPICHANGED, and everything laid out again for newDpi.
    void ChangeDpi(HWND window, UINT newDpi, const RECT& suggested);
    void SetFrameIcon(WORD iconId, WPARAM size);
    HWND CreateButton(const char* caption, int id, const ButtonSlot& slot, const RECT& client);
    void SetButton(HWND button, bool visible, bool enabled, const std::string& caption);
    bool RouteCommand(HWND window, WPARAM wParam, LPARAM lParam);
    void PaintFrame(HWND window);
    static void TapShiftKey();
    void ForgetWindow(HWND window);
};
