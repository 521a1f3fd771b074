// The adaptation run behind "Start" and FollowKelvaroCmd, and the handling of each
// companion program.
#include "app/adaptation_run.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "base/epilogue.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "util/file_io.h"

namespace fk {
namespace {

constexpr Procedure kTesteaufprogramm{"Error in FollowKelvaro: Sub testeaufprogramm",
                                      "testeaufprogramm"};

struct Companion {
    const char* question;
    const char* folder;
};

constexpr std::array kCompanions{
    Companion{"Dorvant-Assistent installiert ? ", "Dorvant_Assistent_Zeph"},
    Companion{"Lomer-Assistent 800 installiert ? ", "LomerAssistent_800"},
    Companion{"Pellinor installiert ? ", "Pellinor"},
};

constexpr const char* kDone = "  ...UMGESETZT!\r\n";
constexpr const char* kNotDone = "  ...NICHT UMGESETZT!\r\n";

// The answers of a check, which changes nothing.
constexpr const char* kFollows = "  ...FOLGT KELVARO!\r\n";
constexpr const char* kWouldChange = "  ...WIRD UMGESETZT!\r\n";
constexpr const char* kNotInstalled = "  ...NICHT INSTALLIERT!\r\n";

// A companion's dbpfad.ini that is there as a file but not taken, with its attributes.
struct PassedBy {
    std::string file;
    uint32_t attributes = 0;
};

// What the search for a companion's dbpfad.ini found: the file taken (or ""), and the
// first one it passed by.
struct Search {
    std::string taken;
    std::optional<PassedBy> passedBy;
};

// The companion's dbpfad.ini under the first program-files folder that holds one.
Search companionFile(const std::string& ordner) {
    Search search;
    for (int32_t csidl : {kProgramFiles, kProgramFilesX86}) {
        const std::string candidate = GetShellFolder(csidl);
        if (trimBlanks(candidate).empty()) continue;
        const std::string target =
            withTrailingSeparator(candidate) + "Talvorin\\" + ordner + "\\dbpfad.ini";
        if (dateivorhanden(target)) {
            search.taken = target;
            return search;
        }
        if (search.passedBy) continue;
        const auto attributes = attributesOf(target);
        if (attributes && !(*attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            search.passedBy = PassedBy{target, *attributes};
        }
    }
    return search;
}

}  // namespace

// The steps below handle their own failures (each reports through its own epilogue
// and returns), so the run always reaches its closing lines.
RunOutcome adaptationRun(RunHost& host, bool checkOnly) {
    host.setLog("DBPfad suchen... ");
    hole_programmgrundverzeichnis(std::bind_front(&RunHost::messageBox, &host));
    // lokaler_datenpfad: written by hole_programmgrundverzeichnis just above.
    const std::string central = withTrailingSeparator(lokaler_datenpfad) + "dbpfad.ini";
    if (!dateivorhanden(central)) {
        host.appendLog("  ...NICHT VORHANDEN!\r\n");
        host.appendLog("Diese Programm ist nicht nutzbar und bricht ab!");
        return RunOutcome::CentralMissing;
    }
    quelle_dbpfad_ini = central;
    host.appendLog("  ...VORHANDEN!\r\n");
    bool allFollow = true;
    for (const Companion& companion : kCompanions) {
        host.appendLog(companion.question);
        allFollow = testeaufprogramm(host, companion.folder, checkOnly) && allFollow;
    }
    host.appendLog("FollowKelvaro ist abgeschlossen!\r\n");
    host.appendLog("Ein Click auf 'ENDE' schließt das Programm!\r\n");
    return allFollow ? RunOutcome::AllFollow : RunOutcome::SomeDoNotFollow;
}

// The first candidate folder that holds the companion's dbpfad.ini gets the copy; a
// copy that fails is reported and answered as not done.
bool testeaufprogramm(RunHost& host, const std::string& ordner, bool checkOnly) {
    const Search search = companionFile(ordner);
    const std::string& target = search.taken;
    if (target.empty()) {
        if (!search.passedBy) {
            host.appendLog(checkOnly ? kNotInstalled : kNotDone);
            return true;
        }
        host.appendLog(kNotDone);  // installed, but its file not taken
        host.notTaken(search.passedBy->file, search.passedBy->attributes);
        return false;
    }
    // quelle_dbpfad_ini: written by adaptationRun before the companions are handled. It
    // lies below the all-users application-data folder; links above and at that folder
    // are the administrator's.
    const OwnFile source = dataFolderFile(quelle_dbpfad_ini);
    bool follows = false;
    if (checkOnly) {
        kTesteaufprogramm.assign(follows, holdsCopyOf, source, target);
        host.appendLog(follows ? kFollows : kWouldChange);
    } else {
        follows = kTesteaufprogramm.step(replaceWithCopy, source, target);
        host.appendLog(follows ? kDone : kNotDone);
    }
    return follows;
}

}  // namespace fk
