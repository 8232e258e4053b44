#include "installer_listing.h"

#include <map>
#include <set>

#include "format/checksums.h"
#include "format/resource_ids.h"
#include "pe/pe_image.h"
#include "pe/resource_list.h"
#include "pe/resource_reader.h"
#include "text_file.h"

namespace format = setup::format;

namespace pack {

namespace {

pe::ResourceKey Key(std::string_view type, std::string_view name) {
    return {*pe::NameId(type), *pe::NameId(name), format::kStringTableLanguage};
}

// The checksum table's records, if the installer has one.
std::vector<format::ChecksumRecord> Records(std::string_view file) {
    const pe::PeParse parse = pe::ParsePe(file);
    if (!parse.image) return {};
    const pe::ResourceRead read = pe::ReadResources(file, *parse.image);
    if (!read.resources) return {};
    const auto it =
        read.resources->find(Key(format::kChecksumResourceType, format::kChecksumResourceName));
    if (it == read.resources->end()) return {};
    const std::optional<std::string_view> bytes = pe::MemoryBytes(it->second.data);
    if (!bytes) return {};
    auto records = format::DecodeChecksums(
        {reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    return records ? *records : std::vector<format::ChecksumRecord>{};
}

// The payload entries' keys: listed with the file list, not again among the other resources.
std::set<pe::ResourceKey> PayloadKeys(std::size_t entries) {
    std::set<pe::ResourceKey> keys;
    for (std::size_t i = 0; i < entries; ++i) {
        const int index = static_cast<int>(i);
        keys.insert(Key(format::PayloadResourceType(index), format::PayloadResourceName(index)));
    }
    return keys;
}

}  // namespace

int ListInstaller(const std::filesystem::path& file, std::ostream& out, std::ostream& log) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        log << "setup-pack: error: cannot read " << file.string() << "\n";
        return 1;
    }
    const pe::ResourceListing listing = pe::ListResources(*bytes);
    for (const std::string& problem : listing.problems)
        log << "setup-pack: error: " << file.string() << ": " << problem << "\n";
    if (!listing.problems.empty()) return 1;

    std::map<unsigned, std::string> strings;
    for (const pe::ListedString& s : listing.strings)
        if (s.language == format::kStringTableLanguage) strings[s.id] = s.text;
    out << "settings (string ids " << format::kFirstSettingId << " to " << format::kLastSettingId
        << "):\n";
    for (unsigned id = format::kFirstSettingId; id <= format::kLastSettingId; ++id)
        if (auto it = strings.find(id); it != strings.end())
            out << "  " << id << "  " << it->second << "\n";

    const std::vector<format::ChecksumRecord> records = Records(*bytes);
    std::vector<std::string> list;
    for (const auto& [id, text] : strings)
        if (id >= format::kFirstFileListId && id <= format::kLastFileListId) list.push_back(text);
    out << "file list (" << list.size() << " entries; framed and unpacked bytes):\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        out << "  " << format::PayloadResourceName(static_cast<int>(i));
        if (i < records.size()) out << "  " << records[i].size << "  " << records[i].unpacked;
        out << "  " << list[i] << "\n";
    }
    const std::set<pe::ResourceKey> payload = PayloadKeys(list.size());
    out << "other resources:\n";
    for (const pe::ListedResource& r : listing.resources) {
        const bool string_block = !r.key.type.is_name && r.key.type.number == pe::kRtString;
        if (string_block || payload.count(r.key)) continue;
        out << "  " << pe::KeyText(r.key) << ", " << r.size << " bytes\n";
    }
    return 0;
}

}  // namespace pack
