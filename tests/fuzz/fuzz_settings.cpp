// The settings: the installer's reading of the 23 string-table lines (the input split at line
// ends), the line and rectangle syntax both sides share, and setup-pack's settings file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/settings.h"
#include "doubles/memory_resources.h"
#include "platform/error.h"
#include "settings_file.h"

namespace {

void ReadAsTheInstaller(std::string_view text) {
    setup::MemoryResources resources;
    unsigned id = setup::kFirstSettingId;
    for (std::size_t start = 0; start <= text.size() && id <= setup::kLastSettingId; ++id) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        resources.SetString(id, std::string(text.substr(start, end - start)));
        start = end + 1;
    }
    // A table that does not parse is kept as its problem: a finding only if something escapes.
    const setup::SetupSettings settings = setup::ReadSetupSettings(resources);
    (void)settings.Problem();
}

void ReadTheSyntax(std::string_view text) {
    setup::format::SettingValue(text);
    setup::format::StrToInt(text);
    setup::format::SplitSettingFields(text, ',');
    setup::format::ParseRectValue(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadAsTheInstaller(text);
    ReadTheSyntax(text);
    const pack::Settings settings = pack::ParseSettings(text, "fuzz.txt");
    for (const std::string& line : settings.lines) pack::RectOfLine(line);
    return 0;
}
