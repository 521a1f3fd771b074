#include "files/Dateiroutinen.h"

#include <windows.h>

#include "errors/epilogue.h"
#include "errors/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/dbpfad_field.h"
#include "files/y_work_together.h"
#include "util/encoding.h"
#include "util/file_io.h"
#include "util/handles.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kGetShellFolder{"Error in Dateiroutinen: Function GetShellFolder",
                                    "GetShellFolder"};
constexpr Procedure kGetappfolder{"Error in Dateiroutinen: Function getappfolder",
                                  "getappfolder"};
constexpr Procedure kHoleDbpfadDatei{"Error in Dateiroutinen: Function hole_dbpfad_datei",
                                     "hole_dbpfad_datei"};
constexpr Procedure kHoleProgrammgrundverzeichnis{
    "Error in Dateiroutinen: Function hole_programmgrundverzeichnis",
    "hole_programmgrundverzeichnis"};

constexpr const char* kLocalFolderName = "Talvorin_Patientendaten\\";

// Reads the first field of a dbpfad.ini as the procedure's two steps: a file that
// cannot be opened is reported, and so is the read that then finds no open file.
void readDbpfadField(const Procedure& p, const std::string& path, std::string& field) {
    FileHandle file;
    p.step([&] { file = openForReading(path); });
    p.assign(field, [&] { return readFirstField(readToEnd(file)); });
}

void showUnreachablePath(const std::string& entry) {
    seams().messageBox(GetActiveWindow(),
                       widenAnsi(unreachablePathMessage(lokaler_datenpfad, entry)),
                       widenUtf8("Der Pfad in dbpfad.ini ist nicht ansprechbar!"),
                       MB_OK | MB_ICONERROR);
}

}  // namespace

std::string unreachablePathMessage(const std::string& localFolder, const std::string& entry) {
    return utf8ToAnsi(
               "Der Pfad, der in der Datei 'dbpfad.ini' angegeben wird, ist nicht ansprechbar, "
               "das Programm benutzt den lokalen Pfad!\r\rOrt von dbpfad.ini und lokaler "
               "Datenbank:\r") +
           localFolder + "\rOrt, auf den dbpfad.ini verweist:\r" + entry;
}

std::string GetShellFolder(int32_t csidl) {
    std::string result;
    kGetShellFolder.step([&] {
        LPITEMIDLIST list = nullptr;
        const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &list);
        captureLastError();
        if (hr != S_OK) return;  // an unknown folder is no failure: the result stays empty
        const Pidl pidl(list);
        std::string buffer(1000, '\0');
        const BOOL ok = SHGetPathFromIDListA(pidl.get(), buffer.data());
        captureLastError();
        if (ok) result = buffer.substr(0, buffer.find('\0'));
    });
    return result;
}

std::string getappfolder() {
    std::string result;
    kGetappfolder.assign(result, [] { return GetShellFolder(kCommonAppData); });
    return result;
}

bool hole_dbpfad_datei(const std::string& dbpfadIni, std::string& datenpfad) {
    bool result = false;
    if (!dateivorhanden(dbpfadIni)) return result;
    readDbpfadField(kHoleDbpfadDatei, dbpfadIni, datenpfad);
    kHoleDbpfadDatei.step([&] {
        result = dateivorhanden(pathcomplete(datenpfad) + "person.pxd");
    });
    return result;
}

std::string hole_programmgrundverzeichnis() {
    const Procedure& p = kHoleProgrammgrundverzeichnis;
    std::string result;
    bool localFallback = false;
    std::string entry;

    p.step([&] {
        std::string appFolder = getappfolder();
        lokaler_datenpfad = trimBlanks(pathcomplete(appFolder) + kLocalFolderName);
    });
    p.step([&] {
        if (!dateivorhanden(lokaler_datenpfad)) createFolder(lokaler_datenpfad);
    });
    std::string central;
    p.step([&] { central = pathcomplete(lokaler_datenpfad) + "dbpfad.ini"; });
    bool centralPresent = false;
    p.assign(centralPresent, [&] { return dateivorhanden(central); });
    if (centralPresent) readDbpfadField(p, central, entry);
    p.step([&] { entry = trimBlanks(entry); });
    if (entry.size() < 2) {
        p.step([&] { programmgrundverzeichnis = lokaler_datenpfad; });
        p.step([&] { entry = lokaler_datenpfad; });
    }
    if (!dateivorhanden(entry)) {
        localFallback = true;
    } else {
        p.step([&] { pathcomplete(entry); });
        if (dateivorhanden(entry)) {
            p.step([&] { programmgrundverzeichnis = Pfad_hoch(entry); });
            p.step([&] { result = programmgrundverzeichnis; });
            return result;
        }
        localFallback = true;
        p.step([&] { showUnreachablePath(entry); });
    }
    if (localFallback) {
        bool localData = false;
        p.assign(localData, [] {
            return dateivorhanden(pathcomplete(lokaler_datenpfad) + "person.pxd");
        });
        if (localData) {
            p.step([&] { programmgrundverzeichnis = Pfad_hoch(lokaler_datenpfad); });
            p.step([&] { result = programmgrundverzeichnis; });
        }
    }
    return result;
}

}  // namespace fk
