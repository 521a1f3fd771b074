// The real common open and save dialogs, driven from inside the test process.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "test_support.h"
#include "util/CFileDIALOG.h"
#include "util/controls.h"
#include "util/seams.h"

namespace fk {
namespace {

TEST(FileDialog, ConfirmCancelAndANameTooLongForTheBuffer) {
    test::TempFolder dir;  // new each run: the dialog cannot have been there before
    CFileDIALOG dialog;
    dialog.DialogTitle = "Datei w\xE4hlen";  // ANSI text
    dialog.InitialDir = dir.path();
    const auto open = [](HWND d) {  // confirms a name without its folder
        EXPECT_EQ(windowText(d), L"Datei w\u00E4hlen");
        SetDlgItemTextA(d, 0x47C, "brief.txt");  // the file name box
        PostMessageW(d, WM_COMMAND, IDOK, 0);
    };
    const test::DialogDriver driver{open, [](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); }};
    EXPECT_TRUE(dialog.Show(true));
    EXPECT_FALSE(dialog.Show(false));  // cancelled: the names stay as chosen
    EXPECT_EQ(dialog.fileName, dir / "brief.txt");
    EXPECT_EQ(dialog.FileTitle, "brief.txt");

    SeamsOverride seamsGuard;
    std::vector<std::tuple<std::wstring, std::wstring, UINT>> boxes;  // title, text, type
    seams().messageBox = [&](HWND, auto& text, auto& title, UINT type) {
        boxes.emplace_back(title, text, type);
        return IDOK;
    };
    dialog.fileName = std::string(261, 'x');
    EXPECT_FALSE(dialog.Show(true));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(boxes[0]), L"Show");
    EXPECT_EQ(std::get<1>(boxes[0]), L"Error: 5. Invalid procedure call or argument");
    EXPECT_EQ(std::get<2>(boxes[0]), 0u);  // an OK button, no icon
}

}  // namespace
}  // namespace fk
