// Windows declared as data: one table of controls per window (name, kind, parent,
// twips geometry, caption, font, visibility, tab index), created in one loop.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "base/handles.h"

namespace fk {

struct FontSpec {
    const char* face = nullptr;  // UTF-8; nullptr: the control keeps its default font
    int centipoints = 0;         // 1575 = 15.75 pt
    int weight = FW_NORMAL;
};

enum class ControlKind { CommandButton, Label, PictureBox, Image, TextBox, Frame };

enum class BackColor { Default, White, WindowColor, ButtonFace };

// A control's place in twips (1440 per inch), relative to its parent's client area.
struct Twips {
    int left, top, width, height;
};

// One row of a window's control table. A row names what differs from the defaults:
// the window as parent, no caption or font of its own, visible, not in the tab order.
struct ControlSpec {
    int id;  // also the control's window id
    ControlKind kind;
    int parent = 0;  // id of the parent control; 0 for the window itself
    Twips at;
    const char* caption = "";  // UTF-8
    FontSpec font{};
    bool visible = true;
    int tabIndex = -1;  // -1: not in the tab order
    BackColor back = BackColor::Default;
    DWORD extraStyle = 0;
    int bitmap = 0;       // Image: bitmap resource id
    bool tabStop = true;  // buttons and text fields: reached by the Tab key
};

struct Dpi {
    int x;
    int y;
};

// The screen's real dots per inch.
Dpi screenDpi();

inline int twipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

// The controls of one window, created from its table.
class ControlSet {
public:
    // Creates every control as a child window of its own, in the order of the tab
    // indices, which is also the order the Tab key follows; parents come first.
    // Controls without a font of their own get `defaultFont` when it is given.
    void create(HWND window, HINSTANCE instance, std::span<const ControlSpec> table, Dpi dpi,
                HFONT defaultFont = nullptr);

    HWND get(int id) const;

    // The visible, enabled control with the lowest tab index that takes the focus.
    HWND firstFocusable() const;

    // Answers WM_CTLCOLORSTATIC/WM_CTLCOLOREDIT for a control of the table; nullptr
    // when the control has no colour of its own.
    HBRUSH background(HWND control, HDC dc) const;

private:
    const ControlSpec* specOf(HWND control) const;

    struct Entry {
        const ControlSpec* def;
        HWND hwnd;
    };
    std::vector<Entry> entries_;  // in creation (tab) order
    std::vector<GdiObject> fonts_;
    std::vector<GdiObject> bitmaps_;
};

// A window's text (a caption, a label's or a text field's content).
std::wstring windowText(HWND window);

}  // namespace fk
