#include "errors/frmError.h"

#include <vector>

#include "errors/bug_report.h"
#include "errors/epilogue.h"
#include "errors/win32_error.h"
#include "resources/version.h"
#include "errors/error_entry.h"
#include "files/A_Definitionen.h"
#include "util/encoding.h"
#include "util/file_io.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kFormLoad{"Error in frmError: Sub Form_Load", "Form_Load"};
constexpr Procedure kSetForm{"Error in frmError: Sub SetForm", "SetForm"};
constexpr Procedure kChangeErrMsg{"Error in frmError: Function ChangeErrMsg", "ChangeErrMsg"};
constexpr Procedure kWritetoLog{"Error in frmError: Sub WritetoLog", "WritetoLog"};
constexpr Procedure kCmdOK{"Error in frmError: Sub cmdOK_Click", "cmdOK_Click"};
constexpr Procedure kCmdExit{"Error in frmError: Sub cmdExit_Click", "cmdExit_Click"};
constexpr Procedure kCmdYes{"Error in frmError: Sub cmdYes_Click", "cmdYes_Click"};
constexpr Procedure kCmdNo{"Error in frmError: Sub cmdNo_Click", "cmdNo_Click"};
constexpr Procedure kCmdCancel{"Error in frmError: Sub cmdCancel_Click", "cmdCancel_Click"};
constexpr Procedure kCmdDetails{"Error in frmError: Sub cmdDetails_Click", "cmdDetails_Click"};
constexpr Procedure kCmdBugreport{"Error in frmError: Sub cmdbugreport_Click",
                                  "cmdbugreport_Click"};

constexpr const char* kDetailsCollapsed = "D&etails >>";
constexpr const char* kDetailsExpanded = "<< D&etails";

constexpr FontSpec kTahoma{"Tahoma", 825, FW_NORMAL};
constexpr FontSpec kDialogFont{};  // the dialog's own font
constexpr DWORD kReadOnlyText = ES_MULTILINE | ES_READONLY;

constexpr ControlSpec kControls[] = {
    // id, name, index, kind, parent, left, top, width, height, caption, font, visible, tab
    {imgImage0, "imgImage", 0, ControlKind::Image, 0, 120, 120, 480, 480, "", kDialogFont, true,
     -1},
    {imgImage1, "imgImage", 1, ControlKind::Image, 0, 120, 120, 480, 480, "", kDialogFont, false,
     -1},
    {imgImage2, "imgImage", 2, ControlKind::Image, 0, 120, 120, 480, 480, "", kDialogFont, false,
     -1},
    {txtMsg, "txtMsg", -1, ControlKind::TextBox, 0, 720, 120, 3615, 615, "", kTahoma, true, 2,
     BackColor::ButtonFace, kReadOnlyText, 0, false},
    {cmdbugreport, "cmdbugreport", -1, ControlKind::CommandButton, 0, 120, 720, 3615, 615,
     "Bugreport per E-Mail senden", kDialogFont, true, 10},
    {cmdOK, "cmdOK", -1, ControlKind::CommandButton, 0, 4440, 160, 1200, 330, "O&K", kTahoma, true,
     0},
    {cmdExit, "cmdExit", -1, ControlKind::CommandButton, 0, 4440, 525, 1200, 330, "&Abbruch",
     kTahoma, true, 1},
    {cmdDetails, "cmdDetails", -1, ControlKind::CommandButton, 0, 4440, 1005, 1200, 330,
     kDetailsCollapsed, kTahoma, true, 3},
    {cmdYes, "cmdYes", -1, ControlKind::CommandButton, 0, 4560, 160, 1092, 330, "Ye&s", kTahoma,
     false, 4},
    {cmdNo, "cmdNo", -1, ControlKind::CommandButton, 0, 4560, 530, 1092, 330, "N&o", kTahoma,
     false, 5},
    {cmdCancel, "cmdCancel", -1, ControlKind::CommandButton, 0, 4440, 1020, 1092, 330,
     "&Abbruch", kTahoma, false, 6},
    {txtDetails, "txtDetails", -1, ControlKind::TextBox, 0, 120, 1440, 5535, 1455, "", kTahoma,
     true, 7, BackColor::ButtonFace, kReadOnlyText | WS_VSCROLL | ES_AUTOVSCROLL},
    {frlongname, "frlongname", -1, ControlKind::Frame, 0, -360, 0, 6615, 30, "", kDialogFont,
     true, 8},
};

constexpr DWORD kDialogStyle =
    DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// An in-memory dialog template without controls: the table creates them.
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

std::span<const ControlSpec> frmErrorControls() { return kControls; }

bool frmError::Load() {
    if (hwnd_) return true;
    const auto tmpl = emptyDialogTemplate(widenUtf8("Fehlerbericht"));
    HWND owner = GetActiveWindow();
    hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                       reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), owner,
                                       dialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return false;
    setHeightTwips(kErrorCollapsedHeightTwips);
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

void frmError::setHeightTwips(int twips) {
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
    kSetForm.step([&] { setVisible(imgImage0, !b); });
    kSetForm.step([&] { setVisible(imgImage1, b); });
    kSetForm.step([&] { setVisible(imgImage2, false); });
    kSetForm.step([&] { setVisible(cmdYes, b); });
    kSetForm.step([&] { if (b) setDefaultButton(cmdYes); });
    kSetForm.step([&] { setVisible(cmdNo, b); });
    kSetForm.step([&] { setVisible(cmdCancel, b); });
    kSetForm.step([&] { setVisible(cmdOK, !b); });
    kSetForm.step([&] { setVisible(cmdDetails, !b); });
    kSetForm.step([&] { setVisible(cmdExit, !b); });
    kSetForm.step([&] { setVisible(cmdbugreport, !b); });
    kSetForm.step([&] { if (!b) setDefaultButton(cmdOK); });
    kSetForm.step([&] {
        setHeightTwips(kErrorCollapsedHeightTwips);
        if (b) {
            setCaption("Frage");
            putFirstInTabOrder(cmdYes);
        } else {
            setCaption("Fehler");
            EnableWindow(control(cmdDetails), TRUE);
            putFirstInTabOrder(cmdOK);
        }
    });
}

std::string frmError::ChangeErrMsg(int32_t&, std::string& sErrorText, std::string&) {
    std::string result;
    kChangeErrMsg.assign(result, [&] { return sErrorText; });
    return result;
}

void frmError::WritetoLog(std::string& sText) {
    kWritetoLog.step([&] {
        const std::string path = CorrectPath(lokaler_datenpfad) + "Errorlog.txt";
        // The log is a record beside the dialog: a log that cannot be opened or
        // written is skipped, the dialog is shown all the same.
        appendToFile(path, sText + "\r\n\r\n");
    });
}

void frmError::Form_Load() {
    kFormLoad.step([] {});
}

void frmError::cmdOK_Click() {
    kCmdOK.step([&] { Hide(); });
}

void frmError::cmdExit_Click() {
    kCmdExit.step([] { seams().endProcess(0); });
}

void frmError::cmdYes_Click() {
    kCmdYes.step([&] { Result = 1; });
    kCmdYes.step([&] { Hide(); });
}

void frmError::cmdNo_Click() {
    kCmdNo.step([&] { Result = 3; });
    kCmdNo.step([&] { Hide(); });
}

void frmError::cmdCancel_Click() {
    kCmdCancel.step([&] { Result = -1; });
    kCmdCancel.step([&] { Hide(); });
}

void frmError::cmdDetails_Click() {
    kCmdDetails.step([&] {
        wchar_t caption[64] = {};
        GetWindowTextW(control(cmdDetails), caption, 64);
        const bool collapsed = widenUtf8(kDetailsCollapsed) == caption;
        setHeightTwips(collapsed ? kErrorExpandedHeightTwips : kErrorCollapsedHeightTwips);
        SetWindowTextW(control(cmdDetails),
                       widenUtf8(collapsed ? kDetailsExpanded : kDetailsCollapsed).c_str());
    });
}

void frmError::cmdbugreport_Click() {
    const Procedure& p = kCmdBugreport;
    std::string details;
    p.step([&] {
        HWND box = control(txtDetails);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        details = narrowAnsi(text);
    });
    std::string exeName;
    p.step([&] {
        char path[MAX_PATH] = {};
        const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        captureLastError();
        exeName = exeNameOf(std::string_view(path, n));
    });
    std::string link;
    p.step([&] {
        link = bugReportLink(exeName, FK_VERSION_MAJOR, FK_VERSION_MINOR, details,
                             lokaler_datenpfad);
    });
    p.step([&] { seams().shellOpen(link); });
}

void frmError::pressDefault(int defaultId) {
    if (defaultId == cmdOK && usable(cmdOK)) cmdOK_Click();
    if (defaultId == cmdYes && usable(cmdYes)) cmdYes_Click();
}

void frmError::onCommand(int id) {
    switch (id) {
        case IDOK:  // Enter with no default button
            pressDefault(LOWORD(SendMessageW(hwnd_, DM_GETDEFID, 0, 0)));
            break;
        case IDCANCEL:  // Esc and the close box act as "O&K"
            if (usable(cmdOK)) cmdOK_Click();
            break;
        case cmdOK: if (usable(cmdOK)) cmdOK_Click(); break;
        case cmdExit: cmdExit_Click(); break;
        case cmdYes: cmdYes_Click(); break;
        case cmdNo: cmdNo_Click(); break;
        case cmdCancel: cmdCancel_Click(); break;
        case cmdDetails: cmdDetails_Click(); break;
        case cmdbugreport: cmdbugreport_Click(); break;
        default: break;
    }
}

INT_PTR frmError::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
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

INT_PTR CALLBACK frmError::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<frmError*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->hwnd_ = hwnd;
        self->dpi_ = screenDpi();
        try {
            const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
            self->controls_.create(hwnd, GetModuleHandleW(nullptr), kControls, self->dpi_,
                                   dialogFont);
        } catch (...) {
            reportFailure(currentFailure(), kFormLoad.label(), kFormLoad.name());
        }
        return FALSE;
    }
    auto* self = reinterpret_cast<frmError*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self || self->hwnd_ != hwnd) return FALSE;
    try {
        return self->handleMessage(msg, wp, lp);
    } catch (...) {
        return FALSE;  // no exception leaves a dialog procedure
    }
}

}  // namespace fk
