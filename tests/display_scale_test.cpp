// The wizard and its dialogs at 100 %, 150 % and 200 %, each in a process of its own
// started after "LogPixels" was set, as a session at that scale starts: every control
// shown lies within a pixel of its place at 100 % times the scale, no text that fits its
// control at 100 % is wider or taller than it (measured with the control's own font), and
// every picture has the size of its 100 % one times the scale.

#include "pages/AboutDlg.h"
#include "pages/AutoPrintConfirmDlg.h"
#include "pages/ConfigureDlg.h"
#include "pages/WSMain.h"
#include "pages/WSPrint.h"
#include "pages/WSSelectFile.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"
#include "toolkit/Dpi.h"
#include "toolkit/ScaledArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

using namespace testenv;

namespace {

const char kProbeVariable[] = "KESTROLA_SCALE_PROBE";
const char kDesktopKey[] = "Control Panel\\Desktop";

struct Box {
    long left, top, right, bottom;
    int fits;  // the text fits, or there is none
};
using Boxes = std::map<std::string, Box>;

// Check boxes and radio buttons give their text the width left of the box; the image
// buttons the width right of their icon and margin.
int TextRoom(HWND control, const std::string& className, LONG style, int width, UINT dpi)
{
    const LONG type = style & BS_TYPEMASK;
    if (className != "Button" || type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ||
        type == BS_GROUPBOX)
        return width;
    if (type == BS_OWNERDRAW)
        return width - width * 65 / 1000 - dpi::Scale(32 + 20, dpi);
    (void)control;
    return width - dpi::Scale(16, dpi);
}

bool TextFits(HWND control, const std::string& className, const RECT& box, UINT dpi)
{
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::string text = WindowText(control);
    if (text.empty() || className == "ComboBox" || className == "Edit" ||
        (className == "Static" && (style & SS_TYPEMASK) >= SS_ICON &&
         (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP))
        return true;
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    const bool oneLine = className != "Static" || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    const int width = TextRoom(control, className, style, box.right - box.left, dpi);
    RECT need = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &need,
              DT_CALCRECT | DT_NOPREFIX | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return need.right <= width && need.bottom <= box.bottom - box.top;
}

// Every shown control of the window, in its client coordinates, and the client area.
void Measure(HWND window, const std::string& name, Boxes& boxes)
{
    RECT client = {};
    GetClientRect(window, &client);
    boxes[name] = {0, 0, client.right, client.bottom, 1};
    const UINT dpi = dpi::ForWindow(window);
    int index = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(c, className, sizeof className);
        if ((GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;  // hidden on this page; a dialog's controls count before it is shown
        RECT r = {};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        // A combo box's height is its own: the closed box's follows its font, the open
        // list's a whole number of lines.
        if (std::string(className) == "ComboBox")
            r.bottom = r.top;
        std::string key = name + "." + std::to_string(index++) + "." + className + "." +
                          WindowText(c).substr(0, 24);
        std::replace(key.begin(), key.end(), ' ', '_');
        boxes[key] = {r.left, r.top, r.right, r.bottom, TextFits(c, className, r, dpi) ? 1 : 0};
    }
}

void MeasurePicture(const std::string& name, HGDIOBJ picture, Boxes& boxes)
{
    BITMAP size = {};
    ICONINFO icon = {};
    if (GetIconInfo(static_cast<HICON>(picture), &icon)) {
        GetObjectA(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof size, &size);
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
    } else {
        GetObjectA(picture, sizeof size, &size);
    }
    boxes["picture." + name] = {0, 0, size.bmWidth, size.bmHeight, 1};
}

// What the probe process sees: the three pages, the three dialogs and the pictures.
Boxes Probe()
{
    Boxes boxes;
    ProgramKeyGuard guard;
    TestWizard wizard;
    wizard.AddPage(new WSMain(&wizard), WSMain::kPageId);
    wizard.AddPage(new WSSelectFile(&wizard), WSSelectFile::kPageId);
    wizard.AddPage(new WSPrint(&wizard), WSPrint::kPageId);
    const auto dialog = [&](WORD id, DLGPROC proc, LPARAM object, const char* name) {
        const HWND box = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                            wizard.Frame(), proc, object);
        Measure(box, name, boxes);
        if (id == IDD_AUTOPRINT_CONFIRM)
            MeasurePicture("question", reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(
                                           box, IDC_CONFIRM_ICON, STM_GETICON, 0, 0)), boxes);
        DestroyWindow(box);
    };
    ConfigureDlg configure;
    AutoPrintConfirmDlg warning;
    wizard.Script(0, {[&] { Measure(wizard.Frame(), "start", boxes); },
                      [&] { wizard.GoToPage(WSSelectFile::kPageId); },
                      [&] { Measure(wizard.Frame(), "file", boxes); },
                      [&] {
                          dialog(IDD_CONFIGURE, BaseDialogProc, reinterpret_cast<LPARAM>(&configure), "configure");
                          dialog(IDD_AUTOPRINT_CONFIRM, BaseDialogProc, reinterpret_cast<LPARAM>(&warning), "warning");
                          dialog(IDD_ABOUT, AboutDialogProc, 0, "about");
                          for (WPARAM size : {ICON_SMALL, ICON_BIG})
                              MeasurePicture("frame" + std::to_string(size), reinterpret_cast<HGDIOBJ>(
                                  SendMessageA(wizard.Frame(), WM_GETICON, size, 0)), boxes);
                          wizard.GoToPage(WSPrint::kPageId);
                      },
                      WaitFor([&] { return IsWindowEnabled(wizard.Next()) != FALSE; }, "the job's end"),
                      [&] { Measure(wizard.Frame(), "print", boxes); }});
    const UINT dpi = dpi::System();
    for (int id : {IDB_EMBLEM, IDB_PRINTER, IDB_BUSY, IDB_SUCCESS, IDB_FAILURE}) {
        OwnedGdiObject bitmap(LoadBitmapForDpi(id, dpi, id == IDB_PRINTER));
        MeasurePicture(std::to_string(id), bitmap.get(), boxes);
    }
    for (int id : {IDI_GEAR, IDI_KESTROLA}) {
        const HICON icon = LoadIconForDpi(id, 32, dpi);
        MeasurePicture(std::to_string(id), icon, boxes);
        DestroyIcon(icon);
    }
    return boxes;
}

// Runs the probe in a process started at the scale and reads back what it measured.
Boxes ProbeAt(DWORD logPixels, const std::string& file)
{
    RawWriteDword(kDesktopKey, "LogPixels", logPixels);
    SetEnvironmentVariableA(kProbeVariable, file.c_str());
    DeleteFileA(file.c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    RunProgram(Wide("\"" + std::string(self) + "\" --gtest_filter=DisplayScale.*"), 60000);
    SetEnvironmentVariableA(kProbeVariable, nullptr);
    Boxes boxes;
    std::ifstream in(file);
    std::string key;
    Box b = {};
    while (in >> key >> b.left >> b.top >> b.right >> b.bottom >> b.fits)
        boxes[key] = b;
    return boxes;
}

}  // namespace

TEST(DisplayScale, EveryControlTextAndPictureFollowsTheScale)
{
    if (const char* file = std::getenv(kProbeVariable)) {
        SetProcessDPIAware();  // as the program's manifest declares
        freopen("NUL", "w", stdout);  // the verdict is the parent's
        std::ofstream out(file);
        for (const auto& [key, b] : Probe())
            out << key << ' ' << b.left << ' ' << b.top << ' ' << b.right << ' ' << b.bottom
                << ' ' << b.fits << '\n';
        return;
    }
    ScratchDir scratch;
    KeyGuard desktop(HKEY_CURRENT_USER, kDesktopKey);
    std::map<DWORD, Boxes> seen;
    for (DWORD logPixels : {96u, 144u, 192u})
        seen[logPixels] = ProbeAt(logPixels, scratch.Path() + "\\probe.txt");
    ASSERT_GT(seen[96].size(), 40u) << "every page, dialog and picture measured";
    for (const auto& [logPixels, boxes] : seen) {
        EXPECT_EQ(seen[96].size(), boxes.size()) << "at " << logPixels;
        for (const auto& [key, at96] : seen[96]) {
            const auto found = boxes.find(key);
            if (found == boxes.end()) {
                ADD_FAILURE() << key << " missing at " << logPixels;
                continue;
            }
            const Box& b = found->second;
            const long want[] = {at96.left, at96.top, at96.right, at96.bottom};
            const long got[] = {b.left, b.top, b.right, b.bottom};
            for (int i = 0; i < 4; ++i)
                EXPECT_NEAR(MulDiv(want[i], logPixels, 96), got[i], 1)
                    << key << " edge " << i << " at " << logPixels;
            // Some of the dialogs' texts are cut at 100 % already, where Wine's fonts are wider
            // than the templates allow for; a larger scale must cut none that fits there.
            EXPECT_GE(b.fits, at96.fits) << key << "'s text is cut at " << logPixels;
        }
    }
}
