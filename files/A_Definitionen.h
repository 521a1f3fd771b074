// The program-wide values shared by the adaptation run, the data path resolution
// and the error reporting. All are texts in the ANSI code page, empty at start.
#pragma once

#include <string>

namespace fk {

// The local data folder ("...\Talvorin_Patientendaten\"); the error log lives in it.
inline std::string lokaler_datenpfad;
// The parent folder of the data folder in use, with trailing "\".
inline std::string programmgrundverzeichnis;
// Full path of the main product's central dbpfad.ini.
inline std::string quelle_dbpfad_ini;

}  // namespace fk
