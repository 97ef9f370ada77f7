// Files dropped on the wizard's window, as the shell hands them over: a DROPFILES block in
// global memory sent as WM_DROPFILES.

#include "pages/WSPrint.h"
#include "pages/WSSelectFile.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace testenv;

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Drops the names on the frame; true when the program released the drop's memory.
bool Drop(HWND frame, const std::vector<std::wstring>& names)
{
    std::wstring list;
    for (const std::wstring& name : names)
        list += name + L'\0';
    list += L'\0';
    const size_t size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
    block->pFiles = sizeof(DROPFILES);
    block->fWide = TRUE;
    memcpy(block + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageA(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    return GlobalFlags(memory) == GMEM_INVALID_HANDLE;
}

class FileDrop : public ::testing::Test {
protected:
    FileDrop()
    {
        wizard.AddPage(&start, 1);
        wizard.AddPage(&filePage, WSSelectFile::kPageId);
        wizard.AddPage(&printPage, WSPrint::kPageId);
    }
    HWND FileBox() { return GetDlgItem(wizard.Frame(), WSSelectFile::kFileBoxId); }
    bool Finished() { return IsWindowEnabled(wizard.Next()) != FALSE; }

    ProgramKeyGuard programKey;
    ScratchDir dir;
    TestWizard wizard;
    BlankPage start{&wizard};
    WSSelectFile filePage{&wizard};
    WSPrint printPage{&wizard};
};

TEST_F(FileDrop, OnTheStartPageTheFirstExistingFileIsTakenAndFoldersAreNot)
{
    const std::string file = dir.Write("label.zpl", "^XA^XZ");
    const std::string second = dir.Write("other.zpl", "x");
    const std::wstring folder = Wide(dir.Path()), missing = Wide(dir.Path() + "\\gone.zpl");
    wizard.Script(0, {[&] {
        EXPECT_TRUE(GetWindowLongA(wizard.Frame(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        EXPECT_TRUE(Drop(wizard.Frame(), {folder, missing}));
        EXPECT_EQ(0u, wizard.Index());
        EXPECT_TRUE(Drop(wizard.Frame(), {folder, missing, Wide(file), Wide(second)}));
        EXPECT_EQ(1u, wizard.Index());
        EXPECT_EQ(file, WindowText(FileBox()));
        EXPECT_TRUE(IsWindowVisible(FileBox()));
        EXPECT_EQ("Print >", WindowText(wizard.Next()));
        EXPECT_TRUE(IsWindowEnabled(wizard.Next()));
        // On the file page with its box emptied, a drop makes "Print" usable as a pick does.
        SetWindowTextA(FileBox(), "");
        EnableWindow(wizard.Next(), FALSE);
        EXPECT_TRUE(Drop(wizard.Frame(), {Wide(second)}));
        EXPECT_EQ(second, WindowText(FileBox()));
        EXPECT_TRUE(IsWindowEnabled(wizard.Next()));
    }});
}

TEST_F(FileDrop, DuringAJobNothingChangesAndAfterItANameOutsideTheCodePageIsTaken)
{
    CapturePrinter slow("", 3);
    wizard.SetFilePath(dir.Write("job.prn", "slow job"));
    wizard.SetPrinterName(slow.Name());
    const std::wstring dropped = Wide(dir.Path()) + L"\\\x0429\x043A\x0430\x043B\x0430.zpl";
    HANDLE file = CreateFileW(dropped.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    wchar_t shortPath[MAX_PATH] = {};  // Wine makes short names up: ask for this one
    ASSERT_NE(0u, GetShortPathNameW(dropped.c_str(), shortPath, MAX_PATH));
    wizard.Script(2, {
        WaitFor([&] { return !IsWindowEnabled(wizard.Back()); }, "the job to start"),
        [&] {
            EXPECT_TRUE(Drop(wizard.Frame(), {dropped}));
            EXPECT_EQ(2u, wizard.Index());
            EXPECT_EQ("Printing...", WindowText(GetDlgItem(wizard.Frame(), WSPrint::kStatusId)));
        },
        WaitFor([&] { return Finished(); }, "the job"),
        [&] {
            EXPECT_EQ("slow job\x0C", slow.Bytes());
            EXPECT_TRUE(Drop(wizard.Frame(), {dropped}));
            EXPECT_EQ(1u, wizard.Index());
            EXPECT_EQ(std::string(shortPath, shortPath + lstrlenW(shortPath)),
                      WindowText(FileBox()));
            EXPECT_EQ("Print >", WindowText(wizard.Next()));
        },
    });
    DeleteFileW(dropped.c_str());
}

}  // namespace
