// The real common open and save dialogs, driven from inside the test process.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "test_support.h"
#include "util/CFileDIALOG.h"
#include "util/controls.h"
#include "base/seams.h"

namespace {

TEST(FileDialog, ConfirmCancelAndANameTooLongForTheBuffer) {
    fk::test::TempFolder dir;  // new each run: the dialog cannot have been there before
    fk::CFileDIALOG dialog;
    dialog.DialogTitle = "Datei w\xE4hlen";  // ANSI text
    dialog.InitialDir = dir.path();
    const auto open = [](HWND d) {  // confirms a name without its folder
        EXPECT_EQ(fk::windowText(d), L"Datei w\u00E4hlen");
        SetDlgItemTextA(d, 0x47C, "brief.txt");  // the file name box
        PostMessageW(d, WM_COMMAND, IDOK, 0);
    };
    const auto cancel = [](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); };
    const fk::test::DialogDriver driver{open, cancel};
    EXPECT_TRUE(dialog.Show(true));
    EXPECT_FALSE(dialog.Show(false));  // the save dialog, cancelled: the names stay
    EXPECT_EQ(dialog.fileName, dir / "brief.txt");
    EXPECT_EQ(dialog.FileTitle, "brief.txt");

    fk::SeamsOverride seamsGuard;
    std::vector<std::wstring> boxes;
    fk::seams().messageBox = [&](HWND, auto& text, auto& title, UINT type) {
        EXPECT_EQ(title, L"Show");
        EXPECT_EQ(type, 0u);  // an OK button, no icon
        boxes.push_back(text);
        return IDOK;
    };
    dialog.fileName = std::string(261, 'x');
    EXPECT_FALSE(dialog.Show(true));
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"Error: 5. Invalid procedure call or argument"});
}

}  // namespace
