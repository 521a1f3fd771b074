#include "errors/error_log.h"

#include "errors/error_entry.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "resources/version.h"
#include "util/file_io.h"

namespace fk {

// lokaler_datenpfad: written by hole_programmgrundverzeichnis; empty before the
// first run, so a failure at start-up is logged in the root of the current drive.
std::string errorLogPath() {
    return CorrectPath(lokaler_datenpfad) + "Errorlog.txt";
}

void ensureErrorLog() {
    const std::string log = errorLogPath();
    if (dateivorhanden(log)) return;
    createOwnFile(dataFolderFile(log),
                  generalInformationBlock(FK_APP_TITLE, GetVersion(), lokaler_datenpfad));
}

bool appendToErrorLog(std::string_view entry) {
    return appendToOwnFile(dataFolderFile(errorLogPath()), std::string(entry) + "\r\n\r\n");
}

}  // namespace fk
