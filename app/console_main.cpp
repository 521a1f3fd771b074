// FollowKelvaroCmd: the adaptation run without a window, for unattended runs on many
// workstations. Nothing waits for a click: failures go to the error log and to
// standard error, the progress log to standard output.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/adaptation_run.h"
#include "base/encoding.h"
#include "base/epilogue.h"
#include "errors/Z_ErrorFunction.h"
#include "errors/error_log.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "util/console_out.h"

namespace fk {
namespace {

constexpr Procedure kMain{"Error in FollowKelvaroCmd: Sub wmain", "wmain"};
constexpr int kWrongCommandLine = 3;
constexpr const char* kUsage =
    "Aufruf: FollowKelvaroCmd [--check]\r\n"
    "  ohne Argument  passt die dbpfad.ini jedes installierten Begleitprogramms an\r\n"
    "  --check        prüft nur und ändert nichts\r\n"
    "  --help, -h, /? zeigt diese Hilfe\r\n"
    "Exit-Code: 0 alle folgen der zentralen dbpfad.ini, 1 mindestens eines nicht,\r\n"
    "           2 zentrale dbpfad.ini fehlt, 3 falscher Aufruf\r\n";

// A message box's lone CR line breaks become CR LF on a console or in a file.
std::wstring asLines(std::wstring text) {
    for (auto at = text.find(L'\r'); at != std::wstring::npos; at = text.find(L'\r', at + 1)) {
        if (at + 1 == text.size() || text[at + 1] != L'\n') text.insert(at + 1, 1, L'\n');
    }
    return text;
}

// The attributes that keep dateivorhanden from taking a file.
std::wstring attributeNames(uint32_t attributes) {
    std::wstring names;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) names += L", versteckt";
    if (attributes & FILE_ATTRIBUTE_SYSTEM) names += L", System";
    if (!(attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY))) {
        names += L", weder Archiv noch schreibgesch\u00FCtzt";
    }
    return names.empty() ? std::to_wstring(attributes) : names.substr(2);
}

// The progress log as it grows, on standard output; a message box's text on standard
// error, as nobody may be there to close a box.
class ConsoleLog : public RunHost {
public:
    void setLog(std::string_view text) override { appendLog(text); }
    void appendLog(std::string_view text) override {
        log_ += text;
        writeConsole(STD_OUTPUT_HANDLE, widenUtf8(text));
    }
    // After the answer, on standard error: the file not taken and why.
    void notTaken(const std::string& file, uint32_t attributes) override {
        writeConsole(STD_ERROR_HANDLE, widenAnsi(file) + L": nicht \u00FCbernommen (Attribute: " +
                                           attributeNames(attributes) + L")\r\n");
    }
    void messageBox(const std::wstring& text, const std::wstring&, unsigned) override {
        writeConsole(STD_ERROR_HANDLE, asLines(text) + L"\r\n");
    }
    const std::string& text() const { return log_; }

private:
    std::string log_;
};

// What the window program shows in its error dialog: logged as the dialog logs it,
// and its entry on standard error.
void reportWithoutDialog(const Failure& failure, std::string_view label, std::string_view) {
    const ReportPlan plan = prepareReport(failure, label);
    writeConsole(STD_ERROR_HANDLE, L"\r\n" + widenAnsi(plan.entry));
    if (plan.logged() && !appendToErrorLog(plan.entry)) {  // missing, refused or not writable
        writeConsole(STD_ERROR_HANDLE,
                     widenAnsi(errorLogPath()) + L": Eintrag nicht protokolliert\r\n");
    }
    endReport();
}

// Every companion follows the central dbpfad.ini to the folder its first field names
// (read as the data path resolution reads it): one that does not exist or has no
// person.pxd leads them all to no patient data. A warning only; the exit code stays.
void warnWhenCentralPointsNowhere() {
    if (quelle_dbpfad_ini.empty()) return;  // no central file: the run has said so
    std::string folder;
    if (hole_dbpfad_datei(quelle_dbpfad_ini, folder)) return;
    const char* missing =
        dateivorhanden(folder) ? ", dort fehlt person.pxd." : ", diesen Ordner gibt es nicht.";
    writeConsole(STD_ERROR_HANDLE, L"Warnung: Die zentrale dbpfad.ini verweist auf " +
                                       widenAnsi(folder) + widenUtf8(missing) + L"\r\n");
}

}  // namespace
}  // namespace fk

int wmain(int argc, wchar_t** argv) {
    using namespace fk;
    // No system box either (no disk in a drive, a crash report): nobody may be there.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const std::wstring option = argc == 2 ? argv[1] : L"";
    const bool help = option == L"--help" || option == L"-h" || option == L"/?";
    if (help || argc > 2 || (argc == 2 && option != L"--check")) {
        writeConsole(help ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, widenUtf8(kUsage));
        return help ? 0 : kWrongCommandLine;
    }
    setReportHandler(reportWithoutDialog);
    ConsoleLog log;
    RunOutcome outcome = RunOutcome::SomeDoNotFollow;  // when the run itself fails
    kMain.assign(outcome, [&] { return adaptationRun(log, option == L"--check"); });
    if (outcome == RunOutcome::CentralMissing) {  // the abort box's text
        writeConsole(STD_OUTPUT_HANDLE, L"\r\n");
        writeConsole(STD_ERROR_HANDLE, widenUtf8(log.text()) + L"\r\n");
    }
    if (option == L"--check") warnWhenCentralPointsNowhere();
    return static_cast<int>(outcome);
}
