// The adaptation run behind "Start" and the handling of each companion program.
#include <array>

#include "app/main_window.h"
#include "errors/epilogue.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "util/encoding.h"
#include "util/file_io.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kCmdStartClick{"Error in Preinstall: Sub cmdStart_Click", "cmdStart_Click"};
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

std::string centralDbpfadIni() { return pathcomplete(lokaler_datenpfad) + "dbpfad.ini"; }

}  // namespace

void FollowKelvaro::cmdStart_Click() {
    const Procedure& p = kCmdStartClick;
    p.step([&] { ShowWindow(control(LBLablauf), SW_SHOW); });
    p.step([&] { setLog("DBPfad suchen... "); });
    p.step([] { hole_programmgrundverzeichnis(); });
    bool present = false;
    p.assign(present, [] { return dateivorhanden(centralDbpfadIni()); });
    if (!present) {
        endForMissingDataPath();
        return;
    }
    p.step([] { quelle_dbpfad_ini = centralDbpfadIni(); });
    p.step([&] { appendLog("  ...VORHANDEN!\r\n"); });
    for (const Companion& companion : kCompanions) {
        p.step([&] { appendLog(companion.question); });
        p.step([&] { testeaufprogramm(companion.folder); });
    }
    p.step([&] { appendLog("FollowKelvaro ist abgeschlossen!\r\n"); });
    p.step([&] { appendLog("Ein Click auf 'ENDE' schließt das Programm!\r\n"); });
    p.step([&] { ShowWindow(control(cmdWEITER), SW_SHOW); });
}

// Without the central dbpfad.ini the program cannot work: the log says why, the
// user reads it in a message box, then the program ends.
void FollowKelvaro::endForMissingDataPath() {
    const Procedure& p = kCmdStartClick;
    p.step([&] { appendLog("  ...NICHT VORHANDEN!\r\n"); });
    p.step([&] { appendLog("Diese Programm ist nicht nutzbar und bricht ab!"); });
    p.step([&] {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    p.step([&] {
        seams().messageBox(hwnd_, widenUtf8(log()), L"Follow Kelvaro", MB_OK | MB_ICONERROR);
    });
    seams().endProcess(0);
}

void FollowKelvaro::testeaufprogramm(const std::string& ordner) {
    const Procedure& p = kTesteaufprogramm;
    std::array<std::string, 2> candidates;
    p.assign(candidates[0], [] { return GetShellFolder(kProgramFiles); });
    p.assign(candidates[1], [] { return GetShellFolder(kProgramFilesX86); });
    bool umgesetzt = false;
    for (std::string& candidate : candidates) {
        if (trimBlanks(candidate).empty()) continue;
        std::string target;
        p.step([&] { target = pathcomplete(candidate) + "Talvorin\\" + ordner + "\\dbpfad.ini"; });
        if (!dateivorhanden(target)) continue;
        // A copy that fails is reported and answered as not done; the search stops here.
        const bool copied = p.step([&] { replaceWithCopy(quelle_dbpfad_ini, target); });
        umgesetzt = true;
        p.step([&] { appendLog(copied ? kDone : kNotDone); });
        break;
    }
    if (!umgesetzt) p.step([&] { appendLog(kNotDone); });
}

}  // namespace fk
