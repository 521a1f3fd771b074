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

// The reports made since the last call: number and procedure name.
using Reports = std::vector<std::pair<int, std::string>>;
Reports takeReports(test::ReportRecorder& recorder) {
    Reports taken;
    for (const auto& r : std::exchange(recorder.reports, {})) taken.emplace_back(r.number, r.name);
    return taken;
}

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
    const std::string central = local + "dbpfad.ini";
    std::vector<std::string> boxes;  // title, text and type of each box shown
    const auto box = [&](const std::wstring& text, const std::wstring& title, UINT type) {
        boxes.push_back(narrowAnsi(title + L"|" + text) + "|" + std::to_string(type));
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
    for (const auto& [entry, result] : entries) {
        test::writeFile(central, entry);
        EXPECT_EQ(hole_programmgrundverzeichnis(box), result) << entry;
        test::writeFile(local + "person.pxd", "");  // the local data from now on
    }
    // The box: title, text, then type 16, an error icon and OK.
    EXPECT_EQ(boxes,
              std::vector<std::string>{
                  "Der Pfad in dbpfad.ini ist nicht ansprechbar!|Der Pfad, der in der Datei "
                  "'dbpfad.ini' angegeben wird, ist nicht ansprechbar, das Programm benutzt "
                  "den lokalen Pfad!\r\rOrt von dbpfad.ini und lokaler Datenbank:\r" +
                  local + "\rOrt, auf den dbpfad.ini verweist:\r" + local + "person.pxd\\|16"});
    // Refused as files that cannot be read, as if there were no central file, so the entry
    // (a folder) is never taken: a central file held open, one with a second name, and a
    // sparse one far over 64 KiB, not read whole. Held open or linked: reported by the
    // open, then by the read; oversized: by the read.
    const std::string hole = "hole_programmgrundverzeichnis";
    test::writeFile(central, appData + "\r\n");
    HANDLE held =
        CreateFileA(central.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData) << "held open";
    CloseHandle(held);
    EXPECT_EQ(takeReports(recorder), (Reports{{70, hole}, {52, hole}})) << "held open";
    CreateHardLinkA((local + "zweit.ini").c_str(), central.c_str(), nullptr);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData) << "second name";
    DeleteFileA((local + "zweit.ini").c_str());
    EXPECT_EQ(takeReports(recorder), (Reports{{75, hole}, {52, hole}})) << "second name";
    held = CreateFileA(central.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointerEx(held, LARGE_INTEGER{.QuadPart = 1500LL << 20}, nullptr, FILE_END);
    SetEndOfFile(held);
    CloseHandle(held);
    EXPECT_EQ(hole_programmgrundverzeichnis(box), appData) << "oversized";
    EXPECT_EQ(takeReports(recorder), (Reports{{75, hole}})) << "oversized";

    // hole_dbpfad_datei: the caller's variable gets the entry with its trailing "\"; a read
    // that fails leaves the value as it was (and the answer is false). An entry that is
    // read: the console program's end-to-end tests.
    std::string datenpfad = "vorher";
    EXPECT_FALSE(hole_dbpfad_datei(local + "fehlt.ini", datenpfad));  // nothing read or reported
    EXPECT_EQ(takeReports(recorder), Reports{}) << "missing";
    test::writeFile(central, "");  // the read of zero bytes fails
    EXPECT_FALSE(hole_dbpfad_datei(central, datenpfad));
    EXPECT_EQ(datenpfad, "vorher\\");
    EXPECT_EQ(takeReports(recorder), (Reports{{62, "hole_dbpfad_datei"}})) << "empty";
    std::filesystem::remove_all(widenAnsi(local));
}

// Links that another user planted in a data folder (made by make-link-tree.sh): the
// error log is neither written through them nor created where they point, and an
// error.dat behind one gives no solution text.
TEST(DataFolderFiles, PlantedLinksAreNotFollowed) {
    const std::string programData = getappfolder() + "\\";
    // A link to an existing file, which stays unchanged, and one to a missing file, which
    // is not created.
    for (const char* folder : {"fk-planted\\", "fk-planted-missing\\"}) {
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

// A file's access rights (DACL), as the bytes of its security descriptor.
std::string daclOf(const std::string& path) {
    std::string descriptor(1024, '\0');
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), 1024, &size);
    return descriptor.substr(0, size);
}

// All new bytes or the old ones, never a mix, and no temporary file left behind; the
// replaced file keeps its rights (Wine shows a new file's rights with an Everyone entry).
// A target held open: the adaptation's end-to-end tests.
TEST(ReplaceWithCopy, ReadOnlyTargetKeepsItsBytesAReplacedOneItsRights) {
    test::TempFolder dir;
    const std::string ziel = dir / "ziel.ini";
    const OwnFile quelle{dir.path(), dir / "quelle.ini"};
    test::writeFile(quelle.path, "neu");
    test::writeFile(ziel, "alt", FILE_ATTRIBUTE_READONLY);
    test::ReportRecorder recorder;
    kCopy.step(replaceWithCopy, quelle, ziel);
    EXPECT_EQ(test::readFile(ziel), "alt");
    EXPECT_EQ(std::ranges::distance(std::filesystem::directory_iterator(dir.path())), 2);
    EXPECT_EQ(takeReports(recorder), (Reports{{75, "copy"}}));  // path/file access error
    SetFileAttributesA(ziel.c_str(), FILE_ATTRIBUTE_NORMAL);
    PSECURITY_DESCRIPTOR own = nullptr;  // the system and administrators only
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;SY)(A;;FA;;;BA)",
                                                         SDDL_REVISION_1, &own, nullptr);
    SetFileSecurityA(ziel.c_str(), DACL_SECURITY_INFORMATION, own);
    LocalFree(own);
    const std::string rights = daclOf(ziel);
    ASSERT_NE(rights, daclOf(quelle.path));  // not the rights of a new file
    kCopy.step(replaceWithCopy, quelle, ziel);
    EXPECT_EQ(test::readFile(ziel), "neu");
    EXPECT_EQ(daclOf(ziel), rights);
}

// Copied with administrator rights: only the very file named below its root folder, of
// at most 64 KiB; links above and at the root ("kopie" links to "copy") are followed.
// A target that is a link is replaced itself, what it points to keeps its bytes.
TEST(ReplaceWithCopy, ReadsOnlyTheFileNamedAndWritesNoLinkTarget) {
    const char* tree = std::getenv("FK_LINK_TREE");
    if (!tree) GTEST_SKIP() << "FK_LINK_TREE names no fixture tree";
    const std::string copy = std::string(tree) + "\\copy\\";
    const std::string ziel = copy + "ziel\\echt.ini";
    test::ReportRecorder recorder;
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
        const std::string folder = std::string(tree) + "\\" + root + "\\";
        kCopy.step(replaceWithCopy, OwnFile{folder, folder + source}, ziel);
        EXPECT_EQ(takeReports(recorder), (refused ? Reports{{75, "copy"}} : Reports{}))
            << root << source;
        EXPECT_EQ(test::readFile(ziel), refused ? "alt" : test::readFile(copy + source))
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

// Links in the searched tree, and Cancel: check_findfiles.
TEST(FindFiles, EventsInOrderAndFindAllInsideAnEvent) {
    test::TempFolder dir;
    for (auto f : {"Versteckt", "sub1", "sub1\\deep", "sub2", ".punkt"}) test::makeFolder(dir / f);
    for (auto f : {"a.txt", "b.dat", "Versteckt\\h.txt", "sub1\\z.txt", "sub1\\deep\\d.txt",
                   "sub2\\e.txt", ".punkt\\p.txt"})
        test::writeFile(dir / f, "x");
    SetFileAttributesA((dir / "Versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    cfindfile finder;
    Listener events;
    finder.addListener(events);
    Paths list;
    Paths nested{"vorher"};
    finder.Path(dir.path());
    EXPECT_FALSE(finder.FindAll(list));  // no FileSpec: nothing starts
    finder.FileSpec("*.txt");
    finder.Path("");
    EXPECT_FALSE(finder.FindAll(list));  // no Path
    // The event inside which FindAll is called again, and the list found.
    const std::pair<std::string, Paths> rows[] = {
        // A folder's own matches come first; ".punkt" is not searched, hidden folders are.
        {dir / "a.txt",
         {"", dir / "a.txt", dir / "sub1\\z.txt", dir / "sub1\\deep\\d.txt", dir / "sub2\\e.txt",
          dir / "Versteckt\\h.txt"}},
        {"", {""}},  // inside BeginFindFiles: starts nothing, stops this one
    };
    finder.Path(dir.path());
    for (const auto& [in, found] : rows) {
        events.act = [&](const std::string& event) {
            if (event == in) finder.FindAll(nested);
            return false;
        };
        ASSERT_TRUE(finder.FindAll(list)) << in;
        EXPECT_EQ(list, found) << in;
        list.push_back("End " + std::to_string(list.size() - 1));
        EXPECT_EQ(std::exchange(events.heard, {}), list) << in;
    }
    EXPECT_EQ(nested, Paths{"vorher"});
}

}  // namespace
}  // namespace fk
