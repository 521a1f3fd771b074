// The real common open and save dialogs, driven from inside the test process.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "test_support.h"
#include "util/CFileDIALOG.h"
#include "util/seams.h"

namespace fk {
namespace {

TEST(FileDialog, ConfirmCancelAndANameTooLongForTheBuffer) {
    test::TempFolder dir;
    CFileDIALOG dialog;
    dialog.DialogTitle = "Tabelle \xF6" "ffnen";  // ANSI text
    dialog.InitialDir = dir.path();
    test::DialogDriver driver;
    driver.then([](HWND d) {  // the open dialog: confirm a name without its folder
        wchar_t title[32] = {};
        GetWindowTextW(d, title, 32);
        EXPECT_STREQ(title, L"Tabelle \u00F6ffnen");
        SetDlgItemTextA(d, 0x47C, "brief.txt");  // the file name box
        PostMessageW(d, WM_COMMAND, IDOK, 0);
    });
    driver.then([](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });  // the save dialog
    ASSERT_TRUE(dialog.Show(true));
    EXPECT_FALSE(dialog.Show(false));
    EXPECT_EQ(dialog.fileName + "|" + dialog.FileTitle, dir / "brief.txt|brief.txt");

    SeamsOverride seamsGuard;
    std::wstring boxes;
    seams().messageBox = [&](HWND, const std::wstring& text, const std::wstring& title, UINT type) {
        boxes += title + L"|" + text + L"|" + std::to_wstring(type) + L"\n";
        return IDOK;
    };
    dialog.fileName = std::string(261, 'x');
    EXPECT_FALSE(dialog.Show(true));
    EXPECT_EQ(boxes, L"Show|Error: 5. Invalid procedure call or argument|0\n");
}

}  // namespace
}  // namespace fk
