// CFileDIALOG: the common open and save dialogs. Set the properties, call Show,
// read fileName and FileTitle.
#pragma once

#include <cstdint>
#include <string>

namespace fk {

class CFileDIALOG {
public:
    // Texts are in the ANSI code page.
    std::string DefaultExt;
    std::string DialogTitle;
    std::string fileName;   // in: the name shown first; out: the chosen full path
    std::string FileTitle;  // out: the chosen file's name without its folder
    std::string Filter;     // "Beschreibung|Muster|Beschreibung|Muster"
    int16_t FilterIndex = 0;
    uint32_t Flags = 0;  // the platform's OFN_ flags, passed unchanged
    intptr_t hWndParent = 0;
    std::string InitialDir;
    int16_t MaxFileSize = 0;  // kept only; the buffers always hold 260 characters

    // Shows the open (fOpen) or save dialog. True when the user confirmed a file;
    // fileName and FileTitle change only then. A failure is shown once in a message
    // box titled "Show", and the result is false.
    bool Show(bool fOpen);

private:
    std::string TrimNulls(const std::string& text);
};

}  // namespace fk
