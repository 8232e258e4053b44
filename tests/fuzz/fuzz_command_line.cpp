// The installer's command line: any bytes, as GetCommandLine may hand them over (with and without
// the program's name in front).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const setup::app::CommandLineParse parse = setup::app::ParseCommandLine(line);
    // The folder of /D= never holds more than the line did.
    if (parse.line.folder && parse.line.folder->size() > size) __builtin_trap();
    setup::app::ParseCommandLine(setup::app::ArgumentsOf(line));
    return 0;
}
