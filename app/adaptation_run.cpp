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

}  // namespace

// The steps below handle their own failures (each reports through its own
// epilogue and returns), so the run always reaches its closing lines.
void FollowKelvaro::cmdStart_Click() {
    ShowWindow(control(LBLablauf), SW_SHOW);
    setLog("DBPfad suchen... ");
    hole_programmgrundverzeichnis();
    // lokaler_datenpfad: written by hole_programmgrundverzeichnis just above.
    const std::string central = withTrailingSeparator(lokaler_datenpfad) + "dbpfad.ini";
    if (!dateivorhanden(central)) {
        endForMissingDataPath();
        return;
    }
    quelle_dbpfad_ini = central;
    appendLog("  ...VORHANDEN!\r\n");
    for (const Companion& companion : kCompanions) {
        appendLog(companion.question);
        testeaufprogramm(companion.folder);
    }
    appendLog("FollowKelvaro ist abgeschlossen!\r\n");
    appendLog("Ein Click auf 'ENDE' schließt das Programm!\r\n");
    ShowWindow(control(cmdWEITER), SW_SHOW);
}

// Without the central dbpfad.ini the program cannot work: the log says why, the
// user reads it in a message box, then the program ends.
void FollowKelvaro::endForMissingDataPath() {
    appendLog("  ...NICHT VORHANDEN!\r\n");
    appendLog("Diese Programm ist nicht nutzbar und bricht ab!");
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    seams().messageBox(hwnd_, widenUtf8(log()), L"Follow Kelvaro", MB_OK | MB_ICONERROR);
    seams().endProcess(0);
}

// The first candidate folder that holds the companion's dbpfad.ini gets the copy;
// a copy that fails is reported and answered as not done.
void FollowKelvaro::testeaufprogramm(const std::string& ordner) {
    const std::array candidates{GetShellFolder(kProgramFiles), GetShellFolder(kProgramFilesX86)};
    for (const std::string& candidate : candidates) {
        if (trimBlanks(candidate).empty()) continue;
        const std::string target =
            withTrailingSeparator(candidate) + "Talvorin\\" + ordner + "\\dbpfad.ini";
        if (!dateivorhanden(target)) continue;
        // quelle_dbpfad_ini: written by cmdStart_Click before the companions are handled.
        const bool copied = kTesteaufprogramm.step(replaceWithCopy, quelle_dbpfad_ini, target);
        appendLog(copied ? kDone : kNotDone);
        return;
    }
    appendLog(kNotDone);
}

}  // namespace fk
