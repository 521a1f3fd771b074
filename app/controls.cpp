// The control table of the main window.
#include "app/main_window.h"
#include "resources/resource_ids.h"

namespace fk {
namespace {

constexpr const char* kTrebuchet = "Trebuchet MS";
constexpr FontSpec kButtonFont{kTrebuchet, 1800, FW_BOLD};
constexpr FontSpec kTitleFont{kTrebuchet, 1575, FW_BOLD};
constexpr FontSpec kTextFont{kTrebuchet, 1425, FW_BOLD};
constexpr FontSpec kNoFont{};

constexpr const char* kExplanation =
    "Dieses kleine Programm passt die Datenpfade vom \r\n"
    "Dorvant-Assistenten und dem Lomer-Assistenten sowie \r\n"
    "Pellinor an die Installation von Kelvaro ab 2.71 an.\r\n"
    "Bitte klicken Sie auf <Start>!";

constexpr ControlSpec kControls[] = {
    // id, name, index, kind, parent, left, top, width, height, caption, font, visible, tab
    {cmdWEITER, "cmdWEITER", -1, ControlKind::CommandButton, 0, 8610, 7410, 2025, 705, "Ende",
     kButtonFont, false, 3},
    {cmdStart, "cmdStart", -1, ControlKind::CommandButton, 0, 8610, 2820, 2025, 705, "Start",
     kButtonFont, true, 2},
    {picweiss, "picweiss", -1, ControlKind::PictureBox, 0, 90, 90, 10545, 1155, "", kNoFont, true,
     4, BackColor::WindowColor},
    {imgbanner, "imgbanner", -1, ControlKind::Image, picweiss, 2910, 0, 7500, 1050, "", kNoFont,
     true, -1, BackColor::Default, 0, IDB_BANNER},
    {lblTITEL0, "lblTITEL", 0, ControlKind::Label, picweiss, 0, 0, 2805, 435, "Follow Kelvaro",
     kTitleFont, true, 5, BackColor::White},
    {LBLablauf, "LBLablauf", -1, ControlKind::Label, 0, 90, 3720, 8145, 4335, "", kTextFont,
     false, 1},
    {lblTITEL1, "lblTITEL", 1, ControlKind::Label, 0, 90, 1410, 8115, 2085, kExplanation,
     kTextFont, true, 0},
};

}  // namespace

std::span<const ControlSpec> mainWindowControls() { return kControls; }

}  // namespace fk
