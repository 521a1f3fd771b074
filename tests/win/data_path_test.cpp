// The data path resolution on real folders of the test prefix: the shell's
// all-users application-data folder and a temporary folder for the entries.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "../report_recorder.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace fk {
namespace {

struct Box {
    std::wstring text, title;
    UINT type;
};

class DataPath : public ::testing::Test {
protected:
    void SetUp() override {
        appData = GetShellFolder(kCommonAppData);
        ASSERT_FALSE(appData.empty());
        local = appData + "\\Talvorin_Patientendaten\\";
        removeLocal();
        seams().messageBox = [this](HWND, const std::wstring& text, const std::wstring& title,
                                    UINT type) {
            boxes.push_back({text, title, type});
            return IDOK;
        };
        programmgrundverzeichnis = "unverändert";
    }
    void TearDown() override {
        removeLocal();
        lokaler_datenpfad.clear();
        programmgrundverzeichnis.clear();
    }
    void removeLocal() {
        std::error_code ec;
        std::filesystem::remove_all(widenAnsi(local), ec);
    }
    void central(std::string_view content) {
        test::makeFolder(local);
        test::writeFile(local + "dbpfad.ini", content);
    }

    SeamsOverride seamsGuard;
    test::ReportRecorder reports;
    test::TempFolder dir;
    std::string appData, local;
    std::vector<Box> boxes;
};

TEST_F(DataPath, ShellFoldersOfThePrefix) {
    EXPECT_EQ(appData, "C:\\ProgramData");
    EXPECT_EQ(GetShellFolder(kProgramFiles), "C:\\Program Files");
    EXPECT_EQ(GetShellFolder(kProgramFilesX86), "C:\\Program Files (x86)");
    EXPECT_EQ(getappfolder(), appData);
    EXPECT_EQ(GetShellFolder(0x7ff0), "");  // unknown to the shell: empty, no report
    EXPECT_TRUE(reports.reports.empty());
}

TEST_F(DataPath, WithoutCentralFileTheLocalFolderIsCreatedAndItsParentUsed) {
    EXPECT_EQ(hole_programmgrundverzeichnis(), appData + "\\");
    EXPECT_EQ(lokaler_datenpfad, local);
    EXPECT_EQ(programmgrundverzeichnis, appData + "\\");
    EXPECT_TRUE(dateivorhanden(local));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DataPath, EntryOfOneCharacterCountsAsNone) {
    central("X\r\n");
    EXPECT_EQ(hole_programmgrundverzeichnis(), appData + "\\");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DataPath, EntryNamingAnExistingFolder) {
    test::makeFolder(dir / "Praxis");
    central(dir / "Praxis\\" + "\r\n");
    EXPECT_EQ(hole_programmgrundverzeichnis(), dir.path());
    EXPECT_EQ(programmgrundverzeichnis, dir.path());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DataPath, QuotedEntryWithCommaIsReadWhole) {
    test::makeFolder(dir / "Praxis, Nord");
    central("\"" + (dir / "Praxis, Nord\\") + "\",2.71\r\n");
    EXPECT_EQ(hole_programmgrundverzeichnis(), dir.path());
}

TEST_F(DataPath, UnusableEntriesFallBackSilently) {
    test::makeFolder(dir / "Praxis");
    for (const std::string& entry : {dir / "Praxis", dir / "Fehlt\\", std::string("Q:\\nix\\")}) {
        SCOPED_TRACE(entry);
        central(entry + "\r\n");
        EXPECT_EQ(hole_programmgrundverzeichnis(), "");  // no person.pxd in the local folder
        EXPECT_EQ(programmgrundverzeichnis, "unverändert");
    }
    test::writeFile(local + "person.pxd", "");
    EXPECT_EQ(hole_programmgrundverzeichnis(), appData + "\\");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DataPath, EntryNamingAPlainFileShowsTheMessage) {
    test::writeFile(dir / "datei.txt", "x");
    central(dir / "datei.txt" + "\r\n");
    EXPECT_EQ(hole_programmgrundverzeichnis(), "");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Der Pfad in dbpfad.ini ist nicht ansprechbar!");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes[0].text,
              widenAnsi("Der Pfad, der in der Datei 'dbpfad.ini' angegeben wird, ist nicht "
                        "ansprechbar, das Programm benutzt den lokalen Pfad!\r\r"
                        "Ort von dbpfad.ini und lokaler Datenbank:\r" +
                        local + "\rOrt, auf den dbpfad.ini verweist:\r" + (dir / "datei.txt\\")));
}

TEST_F(DataPath, ZeroByteCentralFileIsReportedAndTreatedAsMissing) {
    central("");
    EXPECT_EQ(hole_programmgrundverzeichnis(), appData + "\\");
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].number, 62);
    EXPECT_EQ(reports.reports[0].name, "hole_programmgrundverzeichnis");
}

TEST_F(DataPath, CentralFileThatCannotBeOpenedReportsTheOpenAndTheRead) {
    central("C:\\x\\\r\n");
    HANDLE held = CreateFileA((local + "dbpfad.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(hole_programmgrundverzeichnis(), appData + "\\");  // as if there were none
    CloseHandle(held);
    ASSERT_EQ(reports.reports.size(), 2u);
    EXPECT_EQ(reports.reports[0].number, 70);  // the open: permission denied
    EXPECT_EQ(reports.reports[1].number, 52);  // the read: no open file
    EXPECT_EQ(reports.reports[1].name, "hole_programmgrundverzeichnis");
}

TEST_F(DataPath, HoleDbpfadDateiWithAndWithoutTrailingSeparator) {
    test::makeFolder(dir / "Daten");
    test::writeFile(dir / "Daten\\person.pxd", "");
    for (const std::string& entry : {dir / "Daten", dir / "Daten\\"}) {
        test::writeFile(dir / "dbpfad.ini", entry + "\r\n");
        std::string datenpfad = "vorher";
        EXPECT_TRUE(hole_dbpfad_datei(dir / "dbpfad.ini", datenpfad));
        EXPECT_EQ(datenpfad, dir / "Daten\\");
    }
    std::string untouched = "vorher";
    EXPECT_FALSE(hole_dbpfad_datei(dir / "fehlt.ini", untouched));
    EXPECT_EQ(untouched, "vorher");
}

}  // namespace
}  // namespace fk
