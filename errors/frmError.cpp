#include "errors/frmError.h"

#include <vector>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "base/seams.h"
#include "base/win32_error.h"
#include "errors/bug_report.h"
#include "errors/error_entry.h"
#include "errors/error_log.h"
#include "files/A_Definitionen.h"
#include "resources/version.h"

namespace fk {
namespace {

constexpr Procedure kFormLoad{"Error in frmError: Sub Form_Load", "Form_Load"};
constexpr Procedure kDialogProc{"Error in frmError: Sub DialogProc", "DialogProc"};
constexpr Procedure kWritetoLog{"Error in frmError: Sub WritetoLog", "WritetoLog"};

constexpr const char* kDetailsCollapsed = "D&etails >>";
constexpr const char* kDetailsExpanded = "<< D&etails";

constexpr FontSpec kTahoma{"Tahoma", 825, FW_NORMAL};
constexpr DWORD kReadOnlyText = ES_MULTILINE | ES_READONLY;

using enum ControlKind;

// Controls without a font of their own take the dialog's font.
constexpr ControlSpec kControls[] = {
    {.id = imgImage0, .kind = Image, .at = {120, 120, 480, 480}},
    {.id = imgImage1, .kind = Image, .at = {120, 120, 480, 480}, .visible = false},
    {.id = imgImage2, .kind = Image, .at = {120, 120, 480, 480}, .visible = false},
    {.id = txtMsg,
     .kind = TextBox,
     .at = {720, 120, 3615, 615},
     .font = kTahoma,
     .tabIndex = 2,
     .back = BackColor::ButtonFace,
     .extraStyle = kReadOnlyText,
     .tabStop = false},
    {.id = cmdbugreport,
     .kind = CommandButton,
     .at = {120, 720, 3615, 615},
     .caption = "Bugreport per E-Mail senden",
     .tabIndex = 10},
    {.id = cmdOK,
     .kind = CommandButton,
     .at = {4440, 160, 1200, 330},
     .caption = "O&K",
     .font = kTahoma,
     .tabIndex = 0},
    {.id = cmdExit,
     .kind = CommandButton,
     .at = {4440, 525, 1200, 330},
     .caption = "&Abbruch",
     .font = kTahoma,
     .tabIndex = 1},
    {.id = cmdDetails,
     .kind = CommandButton,
     .at = {4440, 1005, 1200, 330},
     .caption = kDetailsCollapsed,
     .font = kTahoma,
     .tabIndex = 3},
    {.id = cmdYes,
     .kind = CommandButton,
     .at = {4560, 160, 1092, 330},
     .caption = "Ye&s",
     .font = kTahoma,
     .visible = false,
     .tabIndex = 4},
    {.id = cmdNo,
     .kind = CommandButton,
     .at = {4560, 530, 1092, 330},
     .caption = "N&o",
     .font = kTahoma,
     .visible = false,
     .tabIndex = 5},
    {.id = cmdCancel,
     .kind = CommandButton,
     .at = {4440, 1020, 1092, 330},
     .caption = "&Abbruch",
     .font = kTahoma,
     .visible = false,
     .tabIndex = 6},
    {.id = txtDetails,
     .kind = TextBox,
     .at = {120, 1440, 5535, 1455},
     .font = kTahoma,
     .tabIndex = 7,
     .back = BackColor::ButtonFace,
     .extraStyle = kReadOnlyText | WS_VSCROLL | ES_AUTOVSCROLL},
    {.id = frlongname, .kind = Frame, .at = {-360, 0, 6615, 30}, .tabIndex = 8},
};

constexpr DWORD kDialogStyle =
    DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The dialog is made from an in-memory template without controls (the table creates
// them) and shown by the program's own modal loop rather than DialogBox: hiding the
// dialog, as its buttons do, must end the modal display, and a DialogBox only ends
// with EndDialog.
std::vector<WORD> emptyDialogTemplate(const std::wstring& title) {
    const std::wstring font = L"MS Shell Dlg";
    // DLGTEMPLATE (9 WORDs), no menu, default class, title, point size, font face.
    std::vector<WORD> t(9 + 2 + title.size() + 1 + 1 + font.size() + 1, 0);
    t[0] = LOWORD(kDialogStyle);
    t[1] = HIWORD(kDialogStyle);
    std::size_t at = 11;  // extended style, item count, position and size stay 0
    for (wchar_t c : title) t[at++] = static_cast<WORD>(c);
    t[++at] = 8;  // the default dialog font, 8 pt
    ++at;
    for (wchar_t c : font) t[at++] = static_cast<WORD>(c);
    return t;
}

}  // namespace

frmError::frmError() : BaseWindow(kDialogProc) {}

bool frmError::Load() {
    if (hwnd_) return true;
    const auto tmpl = emptyDialogTemplate(widenUtf8("Fehlerbericht"));
    HWND owner = GetActiveWindow();
    hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                       reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), owner,
                                       DialogProc, reinterpret_cast<LPARAM>(creationParam()));
    if (!hwnd_) return false;
    setWindowHeightTwips(kErrorWindowHeightCollapsedTwips);
    RECT r;
    GetWindowRect(hwnd_, &r);
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Load();
    return true;
}

void frmError::Show() {
    if (hwnd_) seams().runModal(hwnd_);
}

void frmError::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void frmError::Unload() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
}

void frmError::setCaption(const std::string& utf8) {
    SetWindowTextW(hwnd_, widenUtf8(utf8).c_str());
}

void frmError::setControlText(FrmErrorControl id, const std::string& ansi) {
    SetWindowTextW(control(id), widenAnsi(ansi).c_str());
}

void frmError::setVisible(FrmErrorControl id, bool visible) {
    ShowWindow(control(id), visible ? SW_SHOWNA : SW_HIDE);
}

void frmError::setWindowHeightTwips(int twips) {
    RECT window, client;
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const int frameWidth = (window.right - window.left) - client.right;
    SetWindowPos(hwnd_, nullptr, 0, 0, twipsToPixels(kErrorClientWidthTwips, dpi_.x) + frameWidth,
                 twipsToPixels(twips, dpi_.y), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmError::setDefaultButton(FrmErrorControl id) {
    SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

void frmError::putFirstInTabOrder(FrmErrorControl id) {
    SetWindowPos(control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool frmError::usable(FrmErrorControl id) const {
    HWND c = control(id);
    return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(c);
}

void frmError::SetForm(bool& bYesNo) {
    const bool b = bYesNo;
    for (auto id : {imgImage1, cmdYes, cmdNo, cmdCancel}) setVisible(id, b);
    for (auto id : {imgImage0, cmdOK, cmdDetails, cmdExit, cmdbugreport}) setVisible(id, !b);
    setVisible(imgImage2, false);
    setDefaultButton(b ? cmdYes : cmdOK);
    setWindowHeightTwips(kErrorWindowHeightCollapsedTwips);
    setCaption(b ? "Frage" : "Fehler");
    if (!b) EnableWindow(control(cmdDetails), TRUE);
    putFirstInTabOrder(b ? cmdYes : cmdOK);
}

void frmError::switchToInformationMode() {
    setVisible(imgImage0, false);
    setVisible(imgImage1, false);
    setVisible(imgImage2, true);
    setVisible(cmdExit, false);
    setCaption("Information");
}

void frmError::showReport(const ReportPlan& plan, const std::string& message) {
    details_ = plan.entry;
    setControlText(txtDetails, details_);
    bool yesNo = false;
    SetForm(yesNo);
    if (plan.informationMode) switchToInformationMode();
    if (!plan.okEnabled) EnableWindow(control(cmdOK), FALSE);
    setControlText(txtMsg, message);
    Show();
}

std::string frmError::ChangeErrMsg(int32_t&, std::string& sErrorText, std::string&) {
    return sErrorText;
}

// The log is a record beside the dialog: a log that cannot be opened or written is
// skipped, and the dialog is shown all the same.
void frmError::WritetoLog(std::string& sText) {
    kWritetoLog.step(appendToErrorLog, sText);
}

void frmError::Form_Load() {}

void frmError::cmdOK_Click() {
    Hide();
}

void frmError::cmdExit_Click() {
    seams().endProcess(0);
}

void frmError::answer(int32_t result) {
    Result = result;
    Hide();
}

void frmError::cmdDetails_Click() {
    detailsShown_ = !detailsShown_;
    setWindowHeightTwips(detailsShown_ ? kErrorWindowHeightExpandedTwips
                                       : kErrorWindowHeightCollapsedTwips);
    SetWindowTextW(control(cmdDetails),
                   widenUtf8(detailsShown_ ? kDetailsExpanded : kDetailsCollapsed).c_str());
}

void frmError::cmdbugreport_Click() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    captureLastError();
    // lokaler_datenpfad: written by hole_programmgrundverzeichnis.
    seams().shellOpen(bugReportLink(exeNameOf(std::string_view(path, n)), FK_VERSION_MAJOR,
                                    FK_VERSION_MINOR, details_, lokaler_datenpfad));
}

void frmError::pressDefault(int defaultId) {
    if (defaultId == cmdOK && usable(cmdOK)) cmdOK_Click();
    if (defaultId == cmdYes && usable(cmdYes)) cmdYes_Click();
}

// One command, one button.
void frmError::onCommand(int id) {
    switch (id) {
        case IDOK:  // Enter with no default button presses the default one
            pressDefault(LOWORD(SendMessageW(hwnd_, DM_GETDEFID, 0, 0)));
            break;
        case IDCANCEL:  // Esc and the close box act as "O&K"
        case cmdOK:
            if (usable(cmdOK)) cmdOK_Click();
            break;
        case cmdExit:
            cmdExit_Click();
            break;
        case cmdYes:
            cmdYes_Click();
            break;
        case cmdNo:
            cmdNo_Click();
            break;
        case cmdCancel:
            cmdCancel_Click();
            break;
        case cmdDetails:
            cmdDetails_Click();
            break;
        case cmdbugreport:
            cmdbugreport_Click();
            break;
    }
}

// The controls are made from the table, in their designed state.
void frmError::onInitDialog() {
    dpi_ = screenDpi();
    detailsShown_ = false;
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    kFormLoad.step(
        [&] { controls_.create(hwnd_, GetModuleHandleW(nullptr), kControls, dpi_, dialogFont); });
}

LRESULT frmError::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            onInitDialog();
            return FALSE;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED || LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                onCommand(LOWORD(wp));
            }
            return TRUE;
        case WM_CLOSE:
            onCommand(IDCANCEL);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(
                controls_.background(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
        default:
            return FALSE;
    }
}

}  // namespace fk
