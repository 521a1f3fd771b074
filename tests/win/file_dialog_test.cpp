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
    dialog.DialogTitle =
        "Tabelle \xF6"
        "ffnen";  // ANSI text
    dialog.InitialDir = dir.path();
    fk::test::DialogDriver driver;
    driver
        .then([](HWND d) {  // the open dialog: confirm a name without its folder
            EXPECT_EQ(fk::windowText(d), L"Tabelle \u00F6ffnen");
            SetDlgItemTextA(d, 0x47C, "brief.txt");  // the file name box
            PostMessageW(d, WM_COMMAND, IDOK, 0);
        })
        .then([](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });  // the save dialog
    ASSERT_TRUE(dialog.Show(true) && !dialog.Show(false));  // confirmed, then cancelled
    EXPECT_EQ(dialog.fileName + "|" + dialog.FileTitle, dir / "brief.txt|brief.txt");

    fk::SeamsOverride seamsGuard;
    std::wstring boxes;
    fk::seams().messageBox = [&](HWND, auto& text, auto& title, UINT type) {
        boxes += title + L"|" + text + L"|" + std::to_wstring(type) + L"\n";
        return IDOK;
    };
    dialog.fileName = std::string(261, 'x');
    EXPECT_FALSE(dialog.Show(true));
    EXPECT_EQ(boxes, L"Show|Error: 5. Invalid procedure call or argument|0\n");
}

}  // namespace
