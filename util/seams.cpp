#include "util/seams.h"

#include <windows.h>

namespace fk {

Seams& seams() {
    static Seams s{
        [](unsigned exitCode) { ExitProcess(exitCode); },
    };
    return s;
}

}  // namespace fk
