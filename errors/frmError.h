// frmError: the modal dialog that shows a reported failure in error, question or
// information mode, expands its details and can end the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "util/base_window.h"
#include "util/controls.h"

namespace fk {

enum FrmErrorControl : int {
    imgImage0 = 100,
    imgImage1,
    imgImage2,
    txtMsg,
    cmdbugreport,
    cmdOK,
    cmdExit,
    cmdDetails,
    cmdYes,
    cmdNo,
    cmdCancel,
    txtDetails,
    frlongname,
};

// The dialog's width is given for its client area, its two heights for the whole
// window (client area, title bar and borders), as the dialog was designed.
inline constexpr int kErrorClientWidthTwips = 5745;
inline constexpr int kErrorWindowHeightCollapsedTwips = 1785;
inline constexpr int kErrorWindowHeightExpandedTwips = 3375;

struct ReportPlan;

class frmError : public BaseWindow {
public:
    frmError();
    ~frmError() { Unload(); }

    // Answer of the question mode: 1 "Ye&s", 3 "N&o", -1 "&Abbruch". Nobody reads it.
    int32_t Result = 0;

    // Question mode (true) or error mode (false).
    void SetForm(bool& bYesNo);
    // The message text to show: the error text unchanged.
    std::string ChangeErrMsg(int32_t& lErrorNum, std::string& sErrorText,
                             std::string& sErrorSource);
    // Appends one error entry and an empty line to the error log.
    void WritetoLog(std::string& sText);

    // Fills the loaded dialog from a report plan (details, mode, "O&K", message) and
    // shows it modally.
    void showReport(const ReportPlan& plan, const std::string& message);

    // Creates the dialog hidden, in its designed state; false when that failed.
    bool Load();
    // Shows the dialog modally; returns once a button has hidden it.
    void Show();
    void Hide();
    void Unload();

    HWND control(FrmErrorControl id) const { return controls_.get(id); }
    void setCaption(const std::string& utf8);
    void setControlText(FrmErrorControl id, const std::string& ansi);
    void setVisible(FrmErrorControl id, bool visible);

    void Form_Load();
    void cmdOK_Click();
    void cmdExit_Click();
    void cmdYes_Click() { answer(1); }
    void cmdNo_Click() { answer(3); }
    void cmdCancel_Click() { answer(-1); }
    void cmdDetails_Click();
    void cmdbugreport_Click();

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The question mode's answer, then the dialog hides.
    void answer(int32_t result);
    void onInitDialog();
    void onCommand(int id);
    void pressDefault(int defaultId);
    void setWindowHeightTwips(int twips);
    void switchToInformationMode();
    void setDefaultButton(FrmErrorControl id);
    void putFirstInTabOrder(FrmErrorControl id);
    bool usable(FrmErrorControl id) const;

    ControlSet controls_;
    Dpi dpi_{96, 96};
    // What the controls show: whether the details are (the taller window and the
    // caption of cmdDetails), and the error entry (txtDetails).
    bool detailsShown_ = false;
    std::string details_;
};

}  // namespace fk
