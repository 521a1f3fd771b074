// The control table of the main window.
#include "app/main_window.h"
#include "resources/resource_ids.h"

namespace fk {
namespace {

constexpr const char* kTrebuchet = "Trebuchet MS";
constexpr FontSpec kButtonFont{kTrebuchet, 1800, FW_BOLD};
constexpr FontSpec kTitleFont{kTrebuchet, 1575, FW_BOLD};
constexpr FontSpec kTextFont{kTrebuchet, 1425, FW_BOLD};

constexpr const char* kExplanation =
    "Dieses kleine Programm passt die Datenpfade vom \r\n"
    "Dorvant-Assistenten und dem Lomer-Assistenten sowie \r\n"
    "Pellinor an die Installation von Kelvaro ab 2.71 an.\r\n"
    "Bitte klicken Sie auf <Start>!";

using enum ControlKind;

// In the order the window defines them; lblTITEL0 and lblTITEL1 are the control
// array lblTITEL(0) and (1).
constexpr ControlSpec kControls[] = {
    {.id = cmdWEITER,
     .kind = CommandButton,
     .at = {8610, 7410, 2025, 705},
     .caption = "Ende",
     .font = kButtonFont,
     .visible = false,
     .tabIndex = 3},
    {.id = cmdStart,
     .kind = CommandButton,
     .at = {8610, 2820, 2025, 705},
     .caption = "Start",
     .font = kButtonFont,
     .tabIndex = 2},
    {.id = picweiss,
     .kind = PictureBox,
     .at = {90, 90, 10545, 1155},
     .tabIndex = 4,
     .back = BackColor::WindowColor},
    {.id = imgbanner,
     .kind = Image,
     .parent = picweiss,
     .at = {2910, 0, 7500, 1050},
     .bitmap = IDB_BANNER},
    {.id = lblTITEL0,
     .kind = Label,
     .parent = picweiss,
     .at = {0, 0, 2805, 435},
     .caption = "Follow Kelvaro",
     .font = kTitleFont,
     .tabIndex = 5,
     .back = BackColor::White},
    {.id = LBLablauf,
     .kind = Label,
     .at = {90, 3720, 8145, 4335},
     .font = kTextFont,
     .visible = false,
     .tabIndex = 1},
    {.id = lblTITEL1,
     .kind = Label,
     .at = {90, 1410, 8115, 2085},
     .caption = kExplanation,
     .font = kTextFont,
     .tabIndex = 0},
};

}  // namespace

std::span<const ControlSpec> mainWindowControls() {
    return kControls;
}

}  // namespace fk
