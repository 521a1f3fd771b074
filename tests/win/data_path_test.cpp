// The file system of the test prefix: the existence test, the data path resolution,
// replacing a companion's dbpfad.ini and the file search. Wine lists a folder's names
// sorted ignoring case; the names below are chosen to make the intended order visible.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <utility>

#include "errors/Z_ErrorFunction.h"
#include "base/epilogue.h"
#include "errors/error_log.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "files/cfindfile.h"
#include "../report_recorder.h"
#include "test_support.h"
#include "base/encoding.h"
#include "util/file_io.h"
#include "base/seams.h"

namespace fk {
namespace {

TEST(Dateivorhanden, VisibleFilesAndFoldersButNoPathBeyond16BitPositions) {
    test::TempFolder dir;
    test::writeFile(dir / "plain.txt", "x");
    test::writeFile(dir / "readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
    test::writeFile(dir / "hidden.dat", "x", FILE_ATTRIBUTE_HIDDEN);
    test::writeFile(dir / "system.dat", "x", FILE_ATTRIBUTE_SYSTEM);
    test::makeFolder(dir / "Ordner");
    test::ReportRecorder recorder;
    const std::string tooLong(40000, 'x');
    // "*" lists ".", ".." and hidden.dat first; "" and blanks name the current drive's root.
    const std::pair<std::string, bool> cases[] = {{dir / "plain.txt", true},
                                                  {"  " + (dir / "readonly.txt") + "   ", true},
                                                  {"", true},
                                                  {dir / "missing.txt", false},
                                                  {dir / "hidden.dat", false},
                                                  {dir / "system.dat", false},
                                                  {"  " + (dir / "Ordner\\") + "   ", true},
                                                  {dir / "Ordner", false},
                                                  {"    ", true},
                                                  {dir / "Fehlt\\", false},
                                                  {dir / "plain.txt\\", false},
                                                  {dir / "*.dat", false},
                                                  {dir / "*", true},
                                                  {dir / "Ord*", false},
                                                  {tooLong, false},
                                                  {tooLong + "\\", false}};
    for (const auto& [path, exists] : cases) EXPECT_EQ(dateivorhanden(path), exists) << path;
    EXPECT_EQ(recorder.reports.size(), 4u);  // too long for nurpfad and nurdatei, twice
}

TEST(DataPath, CentralEntryOrTheLocalFallback) {
    const std::string appData = getappfolder() + "\\";
    const std::string local = appData + "Talvorin_Patientendaten\\";
    ASSERT_EQ(appData + GetShellFolder(kProgramFiles) + "|" + GetShellFolder(kProgramFilesX86) +
                  "|" + GetShellFolder(0x7ff0),  // the last one is unknown to the shell
              "C:\\ProgramData\\C:\\Program Files|C:\\Program Files (x86)|");
    std::string boxes;
    const auto box = [&](const std::wstring& text, const std::wstring& title, UINT type) {
        boxes += narrowAnsi(title + L"|" + text) + "|" + std::to_string(type) + "\n";
    };
    test::ReportRecorder recorder;
    std::filesystem::remove_all(widenAnsi(local));
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData);  // no central file; creates the folder
    const std::pair<std::string, std::string> entries[] = {
        {"Q:\r\n", ""},                       // the local fallback, and no data there yet
        {"\\\r\n", appData},                  // one character is no entry (as one, the root)
        {appData + ",2.71\r\n", "C:\\"},      // a folder: its parent
        {local + "person.pxd\r\n", appData},  // a plain file: the message, then the local data
    };
    for (const auto& [central, result] : entries) {
        test::writeFile(local + "dbpfad.ini", central);
        EXPECT_EQ(hole_programmgrundverzeichnis(box), result) << central;
        test::writeFile(local + "person.pxd", "");  // the local data from now on
    }
    // The box: title, text, then type 16, an error icon and OK.
    EXPECT_EQ(boxes,
              "Der Pfad in dbpfad.ini ist nicht ansprechbar!|Der Pfad, der in der Datei "
              "'dbpfad.ini' angegeben wird, ist nicht ansprechbar, das Programm benutzt "
              "den lokalen Pfad!\r\rOrt von dbpfad.ini und lokaler Datenbank:\r" +
                  local + "\rOrt, auf den dbpfad.ini verweist:\r" + local + "person.pxd\\|16\n");
    HANDLE held = CreateFileA((local + "dbpfad.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData);  // as if there were no central file
    CloseHandle(held);
    // Refused as files that cannot be read, so the entry (a folder) is never taken: a
    // central file with a second name, and a sparse one far over 64 KiB, not read whole.
    test::writeFile(local + "dbpfad.ini", appData + "\r\n");
    CreateHardLinkA((local + "zweit.ini").c_str(), (local + "dbpfad.ini").c_str(), nullptr);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData);
    DeleteFileA((local + "zweit.ini").c_str());
    held = CreateFileA((local + "dbpfad.ini").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    SetFilePointerEx(held, LARGE_INTEGER{.QuadPart = 1500LL << 20}, nullptr, FILE_END);
    SetEndOfFile(held);
    CloseHandle(held);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData);

    // hole_dbpfad_datei: the caller's variable gets the entry with its trailing "\"; a read
    // that fails leaves the value as it was (and the answer is false).
    std::string datenpfad = "vorher";
    EXPECT_FALSE(hole_dbpfad_datei(local + "fehlt.ini", datenpfad));  // nothing read or reported
    test::writeFile(local + "dbpfad.ini", "");                        // the read fails
    EXPECT_EQ(hole_dbpfad_datei(local + "dbpfad.ini", datenpfad) ? "true" : datenpfad, "vorher\\");
    test::writeFile(local + "dbpfad.ini", local.substr(0, local.size() - 1));
    EXPECT_EQ(hole_dbpfad_datei(local + "dbpfad.ini", datenpfad) ? datenpfad : "false", local);

    // Held open or linked: the open, then the read; oversized: the read; then the read of
    // zero bytes.
    std::string reports;
    for (const auto& r : recorder.reports) reports += std::to_string(r.number) + r.name + " ";
    EXPECT_EQ(reports,
              "70hole_programmgrundverzeichnis 52hole_programmgrundverzeichnis "
              "75hole_programmgrundverzeichnis 52hole_programmgrundverzeichnis "
              "75hole_programmgrundverzeichnis 62hole_dbpfad_datei ");
    std::filesystem::remove_all(widenAnsi(local));
}

// Links that another user planted in a data folder (made by make-link-tree.sh): the
// error log is neither written through them nor created where they point, and an
// error.dat behind one gives no solution text.
TEST(DataFolderFiles, PlantedLinksAreNotFollowed) {
    const std::string programData = getappfolder() + "\\";
    const std::pair<const char*, const char*> logs[] = {
        {"fk-planted\\", "geheim\r\n"},  // a link to an existing file: unchanged
        {"fk-planted-missing\\", ""},    // a link to a missing file: not created
    };
    for (const auto& [folder, outside] : logs) {
        lokaler_datenpfad = programData + folder;
        ensureErrorLog();
        EXPECT_FALSE(appendToErrorLog("Eintrag")) << folder;
        EXPECT_EQ(test::readFile(programData + "fk-fremd\\geheim.txt"), "geheim\r\n") << folder;
        EXPECT_FALSE(std::filesystem::exists(programData + "fk-fremd\\neu.txt")) << folder;
    }
    lokaler_datenpfad = programData + "fk-planted\\";
    EXPECT_EQ(prepareReport({13, "x", "", 0}, "y").solution, "");
    lokaler_datenpfad.clear();
}

constexpr Procedure kCopy("Error in Test: Sub copy", "copy");

// A file's access rights (DACL) in the platform's text form.
std::string daclText(const std::string& path) {
    char descriptor[1024], *text = nullptr;
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &size);
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    const std::string dacl = text ? text : "";
    return LocalFree(text), dacl;
}

// All new bytes or the old ones, never a mix, and no temporary file left behind; the
// replaced file keeps its rights (Wine shows a new file's rights with an Everyone entry).
TEST(ReplaceWithCopy, ReadOnlyOrHeldOpenTargetKeepsItsBytesAReplacedOneItsRights) {
    test::TempFolder dir;
    const std::string ziel = dir / "ziel.ini";
    const OwnFile quelle{dir.path(), dir / "quelle.ini"};
    test::writeFile(quelle.path, "neu");
    test::writeFile(ziel, "alt", FILE_ATTRIBUTE_READONLY);
    test::ReportRecorder recorder;
    kCopy.step(replaceWithCopy, quelle, ziel);
    SetFileAttributesA(ziel.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE held = CreateFileA(ziel.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    kCopy.step(replaceWithCopy, quelle, ziel);
    CloseHandle(held);
    EXPECT_EQ(test::readFile(ziel), "alt");
    EXPECT_EQ(std::ranges::distance(std::filesystem::directory_iterator(dir.path())), 2);
    PSECURITY_DESCRIPTOR own = nullptr;  // the system and administrators only
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;SY)(A;;FA;;;BA)",
                                                         SDDL_REVISION_1, &own, nullptr);
    SetFileSecurityA(ziel.c_str(), DACL_SECURITY_INFORMATION, own);
    LocalFree(own);
    const std::string rights = daclText(ziel);
    ASSERT_EQ(rights.find(";WD)"), std::string::npos) << rights;
    kCopy.step(replaceWithCopy, quelle, ziel);
    EXPECT_EQ(test::readFile(ziel), "neu");
    EXPECT_EQ(daclText(ziel), rights);
    ASSERT_EQ(recorder.reports.size(), 2u);     // read-only, then held open: both refused
    EXPECT_EQ(recorder.reports[0].number, 75);  // path/file access error
}

// Copied with administrator rights: only the very file named below its root folder, of
// at most 64 KiB; links above and at the root ("kopie" links to "copy") are followed.
// A target that is a link is replaced itself, what it points to keeps its bytes.
TEST(ReplaceWithCopy, ReadsOnlyTheFileNamedAndWritesNoLinkTarget) {
    const char* tree = std::getenv("FK_LINK_TREE");
    if (!tree) GTEST_SKIP() << "FK_LINK_TREE names no fixture tree";
    const std::string copy = std::string(tree) + "\\copy\\", ziel = copy + "ziel\\echt.ini";
    const std::tuple<std::string, std::string, bool> rows[] = {
        {"copy", "daten\\symlink.ini", true},       // a link at the file
        {"copy", "daten\\hardlink.ini", true},      // a second name of another file
        {"copy", "ordnerlink\\dbpfad.ini", true},   // a link below the root
        {"copy", "daten\\64k+1.ini", true},         // too large
        {"copy", "daten\\64k.ini", false},          // just small enough
        {"kopie", "daten\\dbpfad.ini", false},      // the root reached through a link
        {"kopie", "ordnerlink\\dbpfad.ini", true},  // and a link below it
        {"kopie", "daten\\symlink.ini", true},      // and a link at the file
    };
    for (const auto& [root, source, refused] : rows) {
        test::writeFile(ziel, "alt");
        test::ReportRecorder recorder;
        const std::string folder = std::string(tree) + "\\" + root + "\\";
        kCopy.step(replaceWithCopy, OwnFile{folder, folder + source}, ziel);
        std::string numbers;
        for (const auto& report : recorder.reports) numbers += std::to_string(report.number);
        EXPECT_EQ(numbers, refused ? "75" : "") << root << source;
        EXPECT_TRUE(test::readFile(ziel) == (refused ? "alt" : test::readFile(copy + source)))
            << root << source;
    }
    kCopy.step(replaceWithCopy, OwnFile{copy, copy + "daten\\dbpfad.ini"}, copy + "ziel\\link.ini");
    EXPECT_EQ(test::readFile(copy + "ziel\\link.ini"), test::readFile(copy + "daten\\dbpfad.ini"));
    EXPECT_EQ(test::readFile(ziel), "alt");  // as the last row left it
}

using Paths = std::vector<std::string>;

// Hears every event in one list, in order: BeginFindFiles as "" (like entry 0 of the
// found list), FoundFile as the path, EndFindFiles as "End " and the count. `act` runs
// inside BeginFindFiles and FoundFile and answers Cancel.
struct Listener : cfindfileEvents {
    Paths heard;
    std::function<bool(const std::string& event)> act;
    void BeginFindFiles() override { act(heard.emplace_back()); }
    void EndFindFiles(int32_t& count) override { heard.push_back("End " + std::to_string(count)); }
    void FoundFile(std::string& path, bool& stop) override { stop = act(heard.emplace_back(path)); }
};

TEST(FindFiles, EventsInOrderCancelFindAllInsideAnEventAndLinkCycles) {
    // FK_LINK_TREE: tree\a\g.txt, tree\a\b\f.txt and tree\a\b\zurueck, a link back to tree\a;
    // tree\c\a_link links to tree\c\b and is listed first: b by its own path is walked.
    const char* tree = std::getenv("FK_LINK_TREE");
    if (!tree) GTEST_SKIP() << "FK_LINK_TREE names no fixture tree";
    const std::string a = tree + std::string("\\a\\"), c = tree + std::string("\\c\\");
    test::TempFolder dir;
    for (auto f : {"Versteckt", "sub1", "sub1\\deep", "sub2", ".punkt"}) test::makeFolder(dir / f);
    for (auto f : {"a.txt", "b.dat", "Versteckt\\h.txt", "sub1\\z.txt", "sub1\\deep\\d.txt",
                   "sub2\\e.txt", ".punkt\\p.txt"})
        test::writeFile(dir / f, "x");
    SetFileAttributesA((dir / "Versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    cfindfile finder;
    Listener events;
    finder.addListener(events);
    Paths list, nested{"vorher"};
    finder.Path(dir.path());
    EXPECT_FALSE(finder.FindAll(list));  // no FileSpec: nothing starts
    finder.FileSpec("*.txt");
    finder.Path("");
    EXPECT_FALSE(finder.FindAll(list));  // no Path
    // `in`: the event that acts; it sets Cancel there, or else calls FindAll.
    const struct {
        std::string path, in;
        bool cancel;
        Paths list;
    } rows[] = {
        // A folder's own matches come first; ".punkt" is not searched, hidden folders are.
        {dir.path(),
         "nirgends",
         false,
         {"", dir / "a.txt", dir / "sub1\\z.txt", dir / "sub1\\deep\\d.txt", dir / "sub2\\e.txt",
          dir / "Versteckt\\h.txt"}},
        {dir.path(), dir / "a.txt", true, {"", dir / "a.txt"}},
        {dir.path(), "", false, {""}},  // inside BeginFindFiles: starts nothing, stops this one
        {a, "nirgends", false, {"", a + "g.txt", a + "b\\f.txt"}},
        {c, "nirgends", false, {"", c + "a_link\\x.txt", c + "b\\x.txt"}},
    };
    for (const auto& row : rows) {
        events.act = [&](const std::string& event) {
            if (event == row.in && !row.cancel) finder.FindAll(nested);
            return event == row.in && row.cancel;
        };
        finder.Path(row.path);
        ASSERT_TRUE(finder.FindAll(list)) << row.path << row.in;
        EXPECT_EQ(list, row.list) << row.in;
        list.push_back("End " + std::to_string(list.size() - 1));
        EXPECT_EQ(std::exchange(events.heard, {}), list);
    }
    EXPECT_EQ(nested, Paths{"vorher"});
}

}  // namespace
}  // namespace fk
