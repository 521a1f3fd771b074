#include "files/Dateiroutinen.h"

#include <windows.h>

#include <optional>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "base/handles.h"
#include "base/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/dbpfad_field.h"
#include "files/y_work_together.h"
#include "util/file_io.h"

namespace fk {
namespace {

constexpr Procedure kHoleDbpfadDatei{"Error in Dateiroutinen: Function hole_dbpfad_datei",
                                     "hole_dbpfad_datei"};
constexpr Procedure kHoleProgrammgrundverzeichnis{
    "Error in Dateiroutinen: Function hole_programmgrundverzeichnis",
    "hole_programmgrundverzeichnis"};

constexpr const char* kLocalFolderName = "Talvorin_Patientendaten\\";

// A dbpfad.ini lies in the data folder, where ordinary users can write: it is opened
// only under the rule for such files and read at most as far as a copy takes, so a
// planted link or a huge file is refused as a file that cannot be read.
FileHandle openDbpfad(const std::string& path) {
    return openOwnFile(dataFolderFile(path));
}

std::string firstFieldOf(const FileHandle& file) {
    return readFirstField(readAtMost(file, kMaxCopySourceBytes));
}

// The first field of a dbpfad.ini, read as two steps of `procedure`: a file that
// cannot be opened is reported, and so is the read that then finds no open file.
// Absent after a failure.
std::optional<std::string> readDbpfadField(const Procedure& procedure, const std::string& path) {
    FileHandle file;
    procedure.assign(file, openDbpfad, path);
    std::optional<std::string> field;
    procedure.assign(field, firstFieldOf, file);
    return field;
}

// The text of the message box: lines separated by a lone CR.
std::string unreachablePathMessage(const std::string& localFolder, const std::string& entry) {
    return utf8ToAnsi(
               "Der Pfad, der in der Datei 'dbpfad.ini' angegeben wird, ist nicht ansprechbar, "
               "das Programm benutzt den lokalen Pfad!\r\rOrt von dbpfad.ini und lokaler "
               "Datenbank:\r") +
           localFolder + "\rOrt, auf den dbpfad.ini verweist:\r" + entry;
}

}  // namespace

// An unknown folder, or one without a file-system path, is no failure: "".
std::string GetShellFolder(int32_t csidl) {
    LPITEMIDLIST list = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &list);
    captureLastError();
    if (hr != S_OK) return {};
    const Pidl pidl(list);
    std::string buffer(1000, '\0');
    const BOOL ok = SHGetPathFromIDListA(pidl.get(), buffer.data());
    captureLastError();
    return ok ? buffer.substr(0, buffer.find('\0')) : std::string();
}

std::string getappfolder() {
    return GetShellFolder(kCommonAppData);
}

OwnFile dataFolderFile(const std::string& path) {
    return {getappfolder(), path};
}

bool hole_dbpfad_datei(const std::string& dbpfadIni, std::string& datenpfad) {
    if (!dateivorhanden(dbpfadIni)) return false;
    // A failed read leaves the caller's variable as it was.
    datenpfad = readDbpfadField(kHoleDbpfadDatei, dbpfadIni).value_or(datenpfad);
    pathcomplete(datenpfad);  // the caller's variable keeps the "\"
    return dateivorhanden(datenpfad + "person.pxd");
}

std::string hole_programmgrundverzeichnis(const ShowMessageBox& showMessageBox) {
    const Procedure& p = kHoleProgrammgrundverzeichnis;
    std::string appFolder = getappfolder();
    lokaler_datenpfad = trimBlanks(pathcomplete(appFolder) + kLocalFolderName);
    if (!dateivorhanden(lokaler_datenpfad)) p.step(createFolder, lokaler_datenpfad);

    const std::string central = withTrailingSeparator(lokaler_datenpfad) + "dbpfad.ini";
    std::string entry;
    if (dateivorhanden(central)) entry = readDbpfadField(p, central).value_or("");
    entry = trimBlanks(entry);
    if (entry.size() < 2) {
        programmgrundverzeichnis = lokaler_datenpfad;
        entry = lokaler_datenpfad;
    }
    if (dateivorhanden(entry)) {
        pathcomplete(entry);  // the message below shows the entry with its "\"
        if (dateivorhanden(entry)) {
            programmgrundverzeichnis = Pfad_hoch(entry);
            return programmgrundverzeichnis;
        }
        showMessageBox(widenAnsi(unreachablePathMessage(lokaler_datenpfad, entry)),
                       widenUtf8("Der Pfad in dbpfad.ini ist nicht ansprechbar!"),
                       MB_OK | MB_ICONERROR);
    }
    // The local fallback: only a local data folder that holds the data counts.
    if (!dateivorhanden(withTrailingSeparator(lokaler_datenpfad) + "person.pxd")) return {};
    programmgrundverzeichnis = Pfad_hoch(lokaler_datenpfad);
    return programmgrundverzeichnis;
}

}  // namespace fk
