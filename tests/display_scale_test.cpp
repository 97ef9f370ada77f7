// The wizard and its dialogs at 100 %, 150 % and 200 %, each in a process of its own
// started after "LogPixels" was set, as a session at that scale starts: every control
// shown lies within a pixel of its place at 100 % times the scale, and so do its font's
// height and every picture's size; no text that fits its control at 100 % is cut (measured
// with the control's own font). At 100 % the frame is then told it moved to a monitor at
// 150 %, and its file page must come out as in the process started at 150 %.

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

#include <array>
#include <fstream>

using namespace testenv;

namespace {

using Boxes = std::map<std::string, std::array<long, 5>>;  // left, top, right, bottom, fits

// The text's room: check boxes and radio buttons lose their box, the image buttons their
// icon and margins; a static text may wrap unless it is marked not to.
long TextFits(HDC dc, HWND c, const std::string& kind, const RECT& r, UINT dpi)
{
    const LONG style = GetWindowLongA(c, GWL_STYLE), type = style & BS_TYPEMASK;
    int room = r.right - r.left;
    if (kind == "Button" && type > BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
        room -= type == BS_OWNERDRAW ? room * 65 / 1000 + dpi::Scale(48 + 20, dpi) : dpi::Scale(16, dpi);
    RECT need = {0, 0, room, 0};
    const bool wraps = kind == "Static" && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
    DrawTextA(dc, WindowText(c).c_str(), -1, &need, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    return need.right <= room && need.bottom <= r.bottom - r.top;
}

// Every shown control of the window in its client coordinates, its font and the client area.
void Measure(HWND window, const std::string& name, Boxes& boxes)
{
    RECT r = {};
    GetClientRect(window, &r);
    boxes[name] = {0, 0, r.right, r.bottom, 1};
    int index = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char kind[64] = {};
        GetClassNameA(c, kind, sizeof kind);
        if ((GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;  // hidden on this page; a dialog's controls count before it is shown
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        // A combo box's height is its own: the closed box's follows its font, the open
        // list's a whole number of lines.
        r.bottom = std::string(kind) == "ComboBox" ? r.top : r.bottom;
        const std::string key = name + "." + std::to_string(index++) + "." + kind;
        const HDC dc = GetDC(c);
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0));
        const HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        boxes[key] = {r.left, r.top, r.right, r.bottom, TextFits(dc, c, kind, r, dpi::ForWindow(window))};
        if (font != nullptr)  // a control without one has the system's, which is not the program's
            boxes[key + ".font"] = {0, 0, 0, metrics.tmHeight, 1};
        SelectObject(dc, previous);
        ReleaseDC(c, dc);
    }
}

void MeasurePicture(const std::string& name, HANDLE picture, Boxes& boxes)
{
    ICONINFO icon = {};
    BITMAP size = {};
    const bool isIcon = GetIconInfo(static_cast<HICON>(picture), &icon) != FALSE;
    GetObjectA(isIcon ? icon.hbmColor : picture, sizeof size, &size);
    if (isIcon)
        DeleteObject(icon.hbmColor), DeleteObject(icon.hbmMask);
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
    ConfigureDlg configure;
    AutoPrintConfirmDlg warning;
    const auto dialog = [&](WORD id, DLGPROC proc, void* object, const char* name) {
        const HWND box = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), wizard.Frame(), proc, LPARAM(object));
        Measure(box, name, boxes);
        MeasurePicture(std::string(name) + ".icon", HANDLE(SendDlgItemMessageA(box, IDC_CONFIRM_ICON, STM_GETICON, 0, 0)), boxes);
        DestroyWindow(box);
    };
    const auto moveTo150 = [&] {  // the suggested rectangle: the client area times 1.5
        RECT outer = {}, client = {};
        GetWindowRect(wizard.Frame(), &outer);
        GetClientRect(wizard.Frame(), &client);
        outer.right += dpi::Scale(client.right, 144) - client.right;
        outer.bottom += dpi::Scale(client.bottom, 144) - client.bottom;
        SendMessageA(wizard.Frame(), dpi::kChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&outer));
    };
    wizard.Script(0, {[&] { Measure(wizard.Frame(), "start", boxes), wizard.GoToPage(WSSelectFile::kPageId); },
                      [&] {
                          Measure(wizard.Frame(), "file", boxes), dialog(IDD_CONFIGURE, BaseDialogProc, &configure, "configure");
                          dialog(IDD_AUTOPRINT_CONFIRM, BaseDialogProc, &warning, "warning"), dialog(IDD_ABOUT, AboutDialogProc, nullptr, "about");
                          for (WPARAM size : {ICON_SMALL, ICON_BIG})
                              MeasurePicture("frame" + std::to_string(size), HANDLE(SendMessageA(wizard.Frame(), WM_GETICON, size, 0)), boxes);
                          wizard.GoToPage(WSPrint::kPageId);
                      },
                      WaitFor([&] { return IsWindowEnabled(wizard.Next()) != FALSE; }, "the job's end"),
                      [&] { Measure(wizard.Frame(), "print", boxes), wizard.GoToPage(WSSelectFile::kPageId); },
                      [&] { dpi::System() == dpi::kBase ? moveTo150(), Measure(wizard.Frame(), "moved", boxes) : void(); }});
    for (int id : {IDB_EMBLEM, IDB_PRINTER, IDB_BUSY, IDB_SUCCESS, IDB_FAILURE})
        MeasurePicture(std::to_string(id), OwnedGdiObject(LoadBitmapForDpi(id, dpi::System())).get(), boxes);
    for (int id : {IDI_GEAR, IDI_KESTROLA})
        MeasurePicture(std::to_string(id), LoadIconForDpi(id, 48, dpi::System()), boxes);  // left to the process's end
    return boxes;
}

}  // namespace

TEST(DisplayScale, EveryControlFontAndPictureFollowsTheScaleAndAMoveToAnotherMonitor)
{
    std::string key;
    std::array<long, 5> b = {};
    if (const char* file = std::getenv("KESTROLA_SCALE_PROBE")) {  // the probe of one scale
        SetProcessDPIAware();  // as the program's manifest declares
        freopen("NUL", "w", stdout);  // the verdict is the parent's
        std::ofstream out(file);
        for (const auto& [name, box] : Probe())
            out << name << ' ' << box[0] << ' ' << box[1] << ' ' << box[2] << ' ' << box[3] << ' ' << box[4] << '\n';
        return;
    }
    ScratchDir scratch;
    KeyGuard desktop(HKEY_CURRENT_USER, "Control Panel\\Desktop");
    const std::string file = scratch.Path() + "\\probe.txt";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("KESTROLA_SCALE_PROBE", file.c_str());
    std::map<DWORD, Boxes> seen;
    for (DWORD logPixels : {96u, 144u, 192u}) {
        RawWriteDword("Control Panel\\Desktop", "LogPixels", logPixels);
        DeleteFileA(file.c_str());
        RunProgram(Wide("\"" + std::string(self) + "\" --gtest_filter=DisplayScale.*"), 60000);
        for (std::ifstream in(file); in >> key >> b[0] >> b[1] >> b[2] >> b[3] >> b[4];)
            key.rfind("moved", 0) == 0 ? seen[1][key.replace(0, 5, "file")] = b : seen[logPixels][key] = b;
    }
    SetEnvironmentVariableA("KESTROLA_SCALE_PROBE", nullptr);
    ASSERT_GT(seen[96].size(), 100u) << "every page, dialog and picture measured";
    for (const auto& [name, moved] : seen[1])  // against the page started at 150 %
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(seen[144][name][i], moved[i], 1) << name << " moved, edge " << i;
    seen.erase(1);
    for (const auto& [logPixels, boxes] : seen) {
        EXPECT_EQ(seen[96].size(), boxes.size()) << "at " << logPixels;
        for (const auto& [name, at96] : seen[96]) {
            const auto got = boxes.count(name) ? boxes.at(name) : std::array<long, 5>{-9, -9, -9, -9, 0};
            for (int i = 0; i < 4; ++i)
                EXPECT_NEAR(MulDiv(at96[i], logPixels, 96), got[i], 1) << name << " edge " << i << " at " << logPixels;
            // Some dialog texts are cut at 100 % already, where Wine's fonts are wider than
            // the templates allow for; a larger scale must cut none that fits there.
            EXPECT_GE(got[4], at96[4]) << name << "'s text is cut at " << logPixels;
        }
    }
}
