#include "util/CFileDIALOG.h"

#include <windows.h>

#include <commdlg.h>

#include "base/encoding.h"
#include "base/runtime_error.h"
#include "base/seams.h"
#include "base/win32_error.h"
#include "util/dialog_text.h"

namespace fk {
namespace {

constexpr std::size_t kBufferSize = 260;

// "Error: 5. Invalid procedure call or argument", OK only, no icon, once.
void showError(const wchar_t* operation) {
    const Failure f = currentFailure();
    seams().messageBox(nullptr,
                       widenAnsi("Error: " + std::to_string(f.number) + ". " + f.description),
                       operation, MB_OK);
}

const char* textOrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

bool CFileDIALOG::Show(bool fOpen) {
    try {
        const std::string filter = filterForPlatform(Filter);
        std::string file = padWithNulls(fileName, kBufferSize);
        std::string title = padWithNulls(FileTitle, kBufferSize);

        OPENFILENAMEA request{};
        // The record without the later extension fields (76 bytes on 32-bit Windows).
        request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        request.hwndOwner = reinterpret_cast<HWND>(hWndParent);
        request.lpstrFilter = filter.c_str();
        request.nFilterIndex = static_cast<DWORD>(FilterIndex);
        request.lpstrFile = file.data();
        request.nMaxFile = kBufferSize;
        request.lpstrFileTitle = title.data();
        request.nMaxFileTitle = kBufferSize;
        request.lpstrInitialDir = textOrNull(InitialDir);
        request.lpstrTitle = textOrNull(DialogTitle);
        request.Flags = Flags;
        request.lpstrDefExt = textOrNull(DefaultExt);

        const BOOL confirmed = fOpen ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
        captureLastError();
        if (!confirmed) return false;
        fileName = TrimNulls(file);
        FileTitle = TrimNulls(title);
        return true;
    } catch (...) {
        showError(L"Show");
        return false;
    }
}

std::string CFileDIALOG::TrimNulls(const std::string& text) {
    try {
        return trimNulls(text);
    } catch (...) {
        showError(L"TrimNulls");
        return text;
    }
}

}  // namespace fk
