// Resources keyed by (type, name, language) as the loader finds them, each with its bytes in
// memory, borrowed from a buffer the caller keeps alive, or streamed from a file when written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>

namespace pack::pe {

// Standard resource types.
constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtString = 6;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kRtManifest = 24;

constexpr std::uint16_t kLangNeutral = 0;
constexpr std::uint16_t kLangEnglishUs = 0x0409;
constexpr std::uint16_t kLangChinesePrc = 0x0804;  // 2052

// A type or name: an integer id or a UTF-16 string. Strings sort before ids, strings by their
// code units and ids by value: the order the loader's binary search needs.
struct ResId {
    bool is_name = false;
    std::uint16_t number = 0;
    std::u16string name;

    static ResId Number(std::uint16_t n) { return {false, n, {}}; }
    static ResId Name(std::u16string text) { return {true, 0, std::move(text)}; }

    friend bool operator==(const ResId&, const ResId&) = default;
    friend bool operator<(const ResId& a, const ResId& b) {
        if (a.is_name != b.is_name) return a.is_name;
        return a.is_name ? a.name < b.name : a.number < b.number;
    }
};

// A name as FindResourceA looks it up: it upper-cases the query, so names are stored with ASCII
// letters upper-cased, as the resource compiler does. Other characters are kept as given. Nothing
// when the text is not valid UTF-8.
std::optional<ResId> NameId(std::string_view utf8);

// For messages and listings: an id as its number ("24"), a name in double quotes ("\"MYRES\"").
std::string IdText(const ResId& id);

struct ResourceKey {
    ResId type;
    ResId name;
    std::uint16_t language = 0;

    friend bool operator==(const ResourceKey&, const ResourceKey&) = default;
    friend bool operator<(const ResourceKey& a, const ResourceKey& b) {
        return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
    }
};

// "type 24, name 1, language 1033".
std::string KeyText(const ResourceKey& key);

// A file whose bytes are copied when the executable is written; it must still hold size bytes
// then.
struct FileData {
    std::filesystem::path path;
    std::uint64_t size = 0;
};

// Owned bytes, borrowed bytes, or a file.
using ResourceData = std::variant<std::string, std::string_view, FileData>;

std::uint64_t DataSize(const ResourceData& data);

// The bytes held in memory (owned or borrowed); nothing for a file.
std::optional<std::string_view> MemoryBytes(const ResourceData& data);

struct Resource {
    ResourceData data;
    std::uint32_t code_page = 0;  // the data entry's code page field, normally 0
};

using ResourceSet = std::map<ResourceKey, Resource>;

// Adds or replaces a resource whose type and name are strings (as NameId makes them). False
// when either is empty, not valid UTF-8, or starts with '#', which FindResource reads as a
// number so the resource could never be found.
bool AddNamed(ResourceSet& set, std::string_view type, std::string_view name,
              std::uint16_t language, ResourceData data);

}  // namespace pack::pe
