#include "pe/resource_reader.h"

#include <set>

#include "pe/le_bytes.h"

namespace pack::pe {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::size_t kTableSize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;

// Walks the three levels. Every offset is checked against the bytes from the root to the end of
// the section's file data, and each table may be visited once, so a looping or shared tree ends
// in a problem rather than endless work.
class TreeReader {
public:
    TreeReader(std::string_view file, const PeImage& image, std::string_view tree)
        : file_(file), image_(image), tree_(tree) {}

    bool Table(std::uint32_t offset, int level, ResourceKey& key);
    ResourceSet& resources() { return resources_; }
    std::string& problem() { return problem_; }

private:
    bool Entry(std::size_t at, int level, ResourceKey& key);
    bool ReadId(std::uint32_t field, ResId& id);
    bool Leaf(std::uint32_t offset, const ResourceKey& key);
    bool Fail(std::string why) {
        problem_ = "resource tree: " + std::move(why);
        return false;
    }

    std::string_view file_;
    const PeImage& image_;
    std::string_view tree_;
    std::set<std::uint32_t> seen_;
    ResourceSet resources_;
    std::string problem_;
};

bool TreeReader::Table(std::uint32_t offset, int level, ResourceKey& key) {
    if (!Fits(offset, kTableSize, tree_.size()))
        return Fail("a table at " + Hex(offset) + " lies outside the resource data");
    if (!seen_.insert(offset).second)
        return Fail("the table at " + Hex(offset) + " is reached twice");
    const std::size_t count = std::size_t{Le16(tree_, offset + 12)} + Le16(tree_, offset + 14);
    if (!Fits(offset + kTableSize, count * kEntrySize, tree_.size()))
        return Fail("the table at " + Hex(offset) + " has more entries than fit");
    for (std::size_t i = 0; i < count; ++i)
        if (!Entry(offset + kTableSize + i * kEntrySize, level, key)) return false;
    return true;
}

bool TreeReader::Entry(std::size_t at, int level, ResourceKey& key) {
    const std::uint32_t id_field = Le32(tree_, at), target = Le32(tree_, at + 4);
    ResId id;
    if (!ReadId(id_field, id)) return false;
    if (level == 0) key.type = std::move(id);
    if (level == 1) key.name = std::move(id);
    if (level == 2) {
        if (id.is_name) return Fail("a language given by name under " + IdText(key.type));
        key.language = id.number;
    }
    const bool is_table = (target & kHighBit) != 0;
    if (is_table != (level < 2))
        return Fail(is_table ? "a table where a data entry belongs"
                             : "a data entry where a table belongs");
    if (is_table) return Table(target & ~kHighBit, level + 1, key);
    return Leaf(target, key);
}

bool TreeReader::ReadId(std::uint32_t field, ResId& id) {
    if (!(field & kHighBit)) {
        if (field > 0xFFFF) return Fail("the id " + Hex(field) + " is above 65535");
        id = ResId::Number(static_cast<std::uint16_t>(field));
        return true;
    }
    const std::uint32_t at = field & ~kHighBit;
    if (!Fits(at, 2, tree_.size()) || !Fits(at + 2, Le16(tree_, at) * 2u, tree_.size()))
        return Fail("a name at " + Hex(at) + " lies outside the resource data");
    std::u16string name(Le16(tree_, at), u'\0');
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char16_t>(Le16(tree_, at + 2 + 2 * i));
    id = ResId::Name(std::move(name));
    return true;
}

bool TreeReader::Leaf(std::uint32_t offset, const ResourceKey& key) {
    if (!Fits(offset, kDataEntrySize, tree_.size()))
        return Fail("the data entry of " + KeyText(key) + " lies outside the resource data");
    const std::uint32_t address = Le32(tree_, offset), size = Le32(tree_, offset + 4);
    std::optional<std::uint64_t> at = FileOffsetOf(image_, address, size);
    if (!at)
        return Fail("the data of " + KeyText(key) + " (" + std::to_string(size) + " bytes at " +
                    Hex(address) + ") lies outside the file's section data");
    Resource resource{file_.substr(*at, size), Le32(tree_, offset + 8)};
    if (!resources_.emplace(key, std::move(resource)).second)
        return Fail(KeyText(key) + " appears twice");
    return true;
}

}  // namespace

ResourceRead ReadResources(std::string_view file, const PeImage& image) {
    const DataDirectory dir = image.Directory(kResourceDirectory);
    if (dir.address == 0) return {ResourceSet{}, {}};
    std::optional<std::size_t> index = SectionAt(image, dir.address);
    std::optional<std::uint64_t> root = FileOffsetOf(image, dir.address, kTableSize);
    if (!index || !root)
        return {std::nullopt, "the resource directory at " + Hex(dir.address) +
                                  " lies outside the file's section data"};
    const Section& s = image.sections[*index];
    const std::uint64_t end = s.raw_pointer + std::min(s.raw_size, s.MemorySize());
    TreeReader reader(file, image, file.substr(*root, end - *root));
    ResourceKey key;
    if (!reader.Table(0, 0, key)) return {std::nullopt, std::move(reader.problem())};
    return {std::move(reader.resources()), {}};
}

}  // namespace pack::pe
