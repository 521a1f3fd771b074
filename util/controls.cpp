#include "util/controls.h"

#include <algorithm>
#include <climits>
#include <string>

#include "base/encoding.h"
#include "base/win32_error.h"

namespace fk {
namespace {

int CALLBACK markFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontInstalled(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &query, markFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

std::wstring installedFace(const char* wanted) {
    std::wstring face = widenUtf8(wanted);
    if (fontInstalled(face)) return face;
    for (const wchar_t* similar : {L"Tahoma", L"Arial", L"Liberation Sans", L"DejaVu Sans"}) {
        if (fontInstalled(similar)) return similar;
    }
    return face;  // the font mapper picks what it can
}

bool takesFocus(ControlKind kind) {
    return kind == ControlKind::CommandButton || kind == ControlKind::TextBox;
}

DWORD styleOf(const ControlSpec& def) {
    DWORD style = WS_CHILD | def.extraStyle;
    if (def.visible) style |= WS_VISIBLE;
    switch (def.kind) {
        case ControlKind::CommandButton:
            style |= BS_PUSHBUTTON;
            break;
        case ControlKind::Label:
            style |= SS_LEFT;
            break;
        case ControlKind::PictureBox:
            style |= WS_CLIPCHILDREN;
            break;
        case ControlKind::Image:
            style |= def.bitmap != 0 ? SS_BITMAP : SS_LEFT;
            break;
        case ControlKind::TextBox:
            break;
        case ControlKind::Frame:
            style |= SS_ETCHEDHORZ;
            break;
    }
    if (takesFocus(def.kind) && def.tabStop && def.tabIndex >= 0) style |= WS_TABSTOP;
    return style;
}

int tabOrderKey(const ControlSpec& def) {
    return def.tabIndex < 0 ? INT_MAX : def.tabIndex;
}

LRESULT CALLBACK pictureBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), msg, wp, lp);
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// A font of the given face and size; a similar sans-serif face stands in when the
// face is not installed.
GdiObject createFont(const FontSpec& font, int dpiY) {
    const std::wstring face = installedFace(font.face);
    return GdiObject(CreateFontW(-MulDiv(font.centipoints, dpiY, 7200), 0, 0, 0, font.weight, FALSE,
                                 FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 face.c_str()));
}

// Window class of picture boxes: a plain container in the window background colour
// that passes its children's notifications on to its parent.
const wchar_t* pictureBoxClass(HINSTANCE instance) {
    static constexpr wchar_t kName[] = L"FollowKelvaroPictureBox";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kName, &wc)) {
        wc.lpfnWndProc = pictureBoxProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kName;
        if (!RegisterClassExW(&wc)) raiseLastError(err::InvalidProcedureCall);
    }
    return kName;
}

const wchar_t* windowClassOf(ControlKind kind, HINSTANCE instance) {
    switch (kind) {
        case ControlKind::CommandButton:
            return L"BUTTON";
        case ControlKind::TextBox:
            return L"EDIT";
        case ControlKind::PictureBox:
            return pictureBoxClass(instance);
        default:
            return L"STATIC";
    }
}

}  // namespace

Dpi screenDpi() {
    HDC dc = GetDC(nullptr);
    const Dpi dpi{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
    ReleaseDC(nullptr, dc);
    return dpi;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ControlSet::create(HWND window, HINSTANCE instance, std::span<const ControlSpec> table,
                        Dpi dpi, HFONT defaultFont) {
    std::vector<const ControlSpec*> order;
    for (const auto& def : table) order.push_back(&def);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return tabOrderKey(*a) < tabOrderKey(*b);
    });
    for (const ControlSpec* def : order) {
        HWND parent = def->parent == 0 ? window : get(def->parent);
        const std::wstring caption = widenUtf8(def->caption);
        HWND hwnd = CreateWindowExW(
            0, windowClassOf(def->kind, instance), caption.c_str(), styleOf(*def),
            twipsToPixels(def->at.left, dpi.x), twipsToPixels(def->at.top, dpi.y),
            twipsToPixels(def->at.width, dpi.x), twipsToPixels(def->at.height, dpi.y), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(def->id)), instance, nullptr);
        if (!hwnd) raiseLastError(err::InvalidProcedureCall);
        entries_.push_back({def, hwnd});
        if (def->font.face) {
            fonts_.push_back(createFont(def->font, dpi.y));
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back().get()), FALSE);
        } else if (defaultFont) {
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont), FALSE);
        }
        if (def->bitmap != 0) {
            bitmaps_.emplace_back(LoadImageW(instance, MAKEINTRESOURCEW(def->bitmap), IMAGE_BITMAP,
                                             0, 0, LR_DEFAULTCOLOR));
            SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(bitmaps_.back().get()));
        }
    }
}

HWND ControlSet::get(int id) const {
    for (const auto& e : entries_) {
        if (e.def->id == id) return e.hwnd;
    }
    return nullptr;
}

const ControlSpec* ControlSet::specOf(HWND control) const {
    for (const auto& e : entries_) {
        if (e.hwnd == control) return e.def;
    }
    return nullptr;
}

HWND ControlSet::firstFocusable() const {
    for (const auto& e : entries_) {
        if ((GetWindowLongW(e.hwnd, GWL_STYLE) & WS_TABSTOP) &&
            (GetWindowLongW(e.hwnd, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(e.hwnd)) {
            return e.hwnd;
        }
    }
    return nullptr;
}

HBRUSH ControlSet::background(HWND control, HDC dc) const {
    const ControlSpec* def = specOf(control);
    if (!def) return nullptr;
    int sysColor = -1;
    switch (def->back) {
        case BackColor::Default:
            return nullptr;
        case BackColor::White:
            SetBkColor(dc, RGB(255, 255, 255));
            return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        case BackColor::WindowColor:
            sysColor = COLOR_WINDOW;
            break;
        case BackColor::ButtonFace:
            sysColor = COLOR_BTNFACE;
            break;
    }
    SetBkColor(dc, GetSysColor(sysColor));
    return GetSysColorBrush(sysColor);
}

}  // namespace fk
