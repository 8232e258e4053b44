#include "stamps.h"

#include <sstream>
#include <system_error>

#include "text_file.h"

namespace fs = std::filesystem;

namespace pack {

namespace {

// Bump when the framed bytes for the same input change, so old outputs are not trusted.
constexpr const char kFormat[] = "setup-pack stamps 1";

}  // namespace

std::optional<StampBook::FileState> StampBook::StateOf(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    FileState state;
    state.size = fs::file_size(file, ec);
    if (ec) return std::nullopt;
    auto time = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    state.time =
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return state;
}

void StampBook::Load(const fs::path& book) {
    stamps_.clear();
    std::optional<std::string> text = ReadWholeFile(book);
    if (!text) return;
    std::vector<std::string_view> lines = SplitLines(*text);
    if (lines.empty() || lines[0] != kFormat) return;
    // name TAB source size TAB source time TAB output size TAB output time TAB source path
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::istringstream fields{std::string(lines[i])};
        std::string name;
        Stamp stamp;
        if (!std::getline(fields, name, '\t')) continue;
        fields >> stamp.source.size >> stamp.source.time >> stamp.output.size >> stamp.output.time;
        if (!fields || fields.get() != '\t' || !std::getline(fields, stamp.source_path)) continue;
        stamps_[name] = stamp;
    }
}

bool StampBook::Save(const fs::path& book, std::string& error) const {
    std::ostringstream out;
    out << kFormat << '\n';
    for (const auto& [name, s] : stamps_)
        out << name << '\t' << s.source.size << '\t' << s.source.time << '\t' << s.output.size
            << '\t' << s.output.time << '\t' << s.source_path << '\n';
    bool written = false;
    return WriteIfChanged(book, out.str(), written, error);
}

bool StampBook::UpToDate(const fs::path& source, const fs::path& output) const {
    auto it = stamps_.find(output.filename().string());
    if (it == stamps_.end() || it->second.source_path != source.string()) return false;
    return StateOf(source) == it->second.source && StateOf(output) == it->second.output;
}

void StampBook::Record(const fs::path& source, const FileState& source_before,
                       const fs::path& output) {
    std::optional<FileState> made = StateOf(output);
    if (!made) return Forget(output);
    stamps_[output.filename().string()] = Stamp{source_before, *made, source.string()};
}

}  // namespace pack
