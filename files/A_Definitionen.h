// The program-wide values shared by the adaptation run, the data path resolution
// and the error reporting. All are texts in the ANSI code page, empty at start.
#pragma once

#include <string>

namespace fk {

// The local data folder ("...\Talvorin_Patientendaten\"); the error log lives in it.
// Written by hole_programmgrundverzeichnis only.
inline std::string lokaler_datenpfad;
// The parent folder of the data folder in use, with trailing "\". Written by
// hole_programmgrundverzeichnis, which also returns it; nothing else reads it.
inline std::string programmgrundverzeichnis;
// Full path of the main product's central dbpfad.ini. Written by cmdStart_Click,
// read by testeaufprogramm as the source of every copy.
inline std::string quelle_dbpfad_ini;

}  // namespace fk
