// The first field of a dbpfad.ini: the text of the file read as classic delimited
// text input. Needs no Windows, so it can be tested and fuzzed on any host.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// Blanks before the field are skipped. A field in double quotes runs to the closing
// quote (commas included) and comes without its quotes; any other field ends at the
// first comma or line end, without trailing blanks. The rest of the file is ignored.
// A file of zero bytes has no field: raises "Input past end of file" (62).
std::string readFirstField(std::string_view content);

}  // namespace fk
