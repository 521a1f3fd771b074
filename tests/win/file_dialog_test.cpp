// The real common open and save dialogs, driven from inside the test process.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include "dialog_driver.h"
#include "test_support.h"
#include "util/CFileDIALOG.h"
#include "util/seams.h"

namespace fk {
namespace {

// Types a name into the dialog's file name box and confirms it.
void enterAndConfirm(HWND dialog, const std::string& name) {
    HWND box = GetDlgItem(dialog, 0x47C);  // the name combo box of the Explorer dialog
    if (!box) box = GetDlgItem(dialog, 0x480);
    SetWindowTextA(box, name.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        seams().messageBox = [this](HWND, const std::wstring& text, const std::wstring& title,
                                    UINT type) {
            boxes.push_back(title + L"|" + text + L"|" + std::to_wstring(type));
            return IDOK;
        };
        test::writeFile(dir / "brief.txt", "x");
        test::writeFile(dir / "notiz.txt", "x");
        dialog.InitialDir = dir.path();
        dialog.Filter = "Texte|*.txt|Alle Dateien|*.*";
        dialog.FilterIndex = 1;
        dialog.fileName = "vorher.txt";
        dialog.FileTitle = "";
    }
    SeamsOverride seamsGuard;
    std::vector<std::wstring> boxes;
    test::TempFolder dir;
    CFileDIALOG dialog;
};

TEST_F(FileDialog, OpenConfirmedGivesFullPathAndBareName) {
    dialog.DialogTitle = "Tabelle \xF6" "ffnen";  // ANSI text
    std::wstring title;
    test::DialogDriver driver;
    driver.then([&](HWND d) {
        wchar_t text[128] = {};
        GetWindowTextW(d, text, 128);
        title = text;
        enterAndConfirm(d, dir / "brief.txt");
    });
    ASSERT_TRUE(dialog.Show(true));
    EXPECT_EQ(dialog.fileName, dir / "brief.txt");
    EXPECT_EQ(dialog.FileTitle, "brief.txt");
    EXPECT_EQ(title, L"Tabelle \u00F6ffnen");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileDialog, SaveConfirmedWithANewName) {
    test::DialogDriver driver;
    driver.then([&](HWND d) { enterAndConfirm(d, dir / "neu.txt"); });
    ASSERT_TRUE(dialog.Show(false));
    EXPECT_EQ(dialog.fileName, dir / "neu.txt");
    EXPECT_EQ(dialog.FileTitle, "neu.txt");
}

TEST_F(FileDialog, CancelKeepsFileName) {
    for (bool open : {true, false}) {
        test::DialogDriver driver;
        driver.then([](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_FALSE(dialog.Show(open));
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(dialog.fileName, "vorher.txt");
        EXPECT_EQ(dialog.FileTitle, "");
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileDialog, MultipleSelectionKeepsTheTextBeforeTheFirstNul) {
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    dialog.fileName.clear();
    test::DialogDriver driver;
    driver.then([&](HWND d) { enterAndConfirm(d, "\"brief.txt\" \"notiz.txt\""); });
    ASSERT_TRUE(dialog.Show(true));
    // The answer is the folder, then each name, separated by NULs: the folder stays.
    std::string folder = dir.path();
    folder.pop_back();
    EXPECT_EQ(dialog.fileName, folder);
}

TEST_F(FileDialog, FileNameLongerThanTheBufferIsShownOnceAndFalse) {
    dialog.fileName = std::string(261, 'x');
    EXPECT_FALSE(dialog.Show(true));
    EXPECT_EQ(boxes, std::vector<std::wstring>{
                         L"Show|Error: 5. Invalid procedure call or argument|0"});
    EXPECT_EQ(dialog.fileName.size(), 261u);
}

}  // namespace
}  // namespace fk
