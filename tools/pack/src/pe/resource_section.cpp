#include "pe/resource_section.h"

#include "pe/le_bytes.h"

namespace pack::pe {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::uint64_t kTableSize = 16;
constexpr std::uint64_t kEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint64_t kDataAlignment = 8;

// The set as a tree, in the set's order, which is already the order the tables need.
struct NameNode {
    const ResId* id;
    std::vector<std::pair<std::uint16_t, const Resource*>> languages;
};
struct TypeNode {
    const ResId* id;
    std::vector<NameNode> names;
};

std::vector<TypeNode> BuildTree(const ResourceSet& set) {
    std::vector<TypeNode> types;
    for (const auto& [key, resource] : set) {
        if (types.empty() || !(*types.back().id == key.type)) types.push_back({&key.type, {}});
        auto& names = types.back().names;
        if (names.empty() || !(*names.back().id == key.name)) names.push_back({&key.name, {}});
        names.back().languages.emplace_back(key.language, &resource);
    }
    return types;
}

std::uint64_t TableSize(std::size_t entries) {
    return kTableSize + kEntrySize * entries;
}

std::uint64_t TablesSize(const std::vector<TypeNode>& types) {
    std::uint64_t size = TableSize(types.size());
    for (const TypeNode& type : types) {
        size += TableSize(type.names.size());
        for (const NameNode& name : type.names) size += TableSize(name.languages.size());
    }
    return size;
}

// Offsets of the name strings from at on; each distinct name is stored once.
std::map<std::u16string, std::uint64_t> PlaceNames(const std::vector<TypeNode>& types,
                                                   std::uint64_t& at) {
    std::map<std::u16string, std::uint64_t> offsets;
    auto place = [&](const ResId& id) {
        if (id.is_name && offsets.emplace(id.name, at).second) at += 2 + 2 * id.name.size();
    };
    for (const TypeNode& type : types) {
        place(*type.id);
        for (const NameNode& name : type.names) place(*name.id);
    }
    return offsets;
}

// Fills the tables, data entries and names into section.head.
class HeadWriter {
public:
    HeadWriter(ResourceSection& section, std::uint32_t address,
               const std::map<std::u16string, std::uint64_t>& names)
        : s_(section), address_(address), names_(names) {}

    void Names() {
        for (const auto& [text, offset] : names_) {
            PutLe16(s_.head, offset, static_cast<std::uint32_t>(text.size()));
            for (std::size_t i = 0; i < text.size(); ++i)
                PutLe16(s_.head, offset + 2 + 2 * i, text[i]);
        }
    }

    // Root, then the type tables, then the name tables; data entries from data_entries on.
    void Tables(const std::vector<TypeNode>& types, std::uint64_t data_entries) {
        std::uint64_t next = TableSize(types.size());
        Table(0, types);
        std::vector<std::uint64_t> type_tables;
        for (std::size_t t = 0; t < types.size(); ++t) {
            Entry(0, t, *types[t].id, kHighBit | next);
            type_tables.push_back(next);
            next += TableSize(types[t].names.size());
        }
        std::size_t leaf = 0;
        for (std::size_t t = 0; t < types.size(); ++t) {
            Table(type_tables[t], types[t].names);
            for (std::size_t n = 0; n < types[t].names.size(); ++n) {
                const NameNode& name = types[t].names[n];
                Entry(type_tables[t], n, *name.id, kHighBit | next);
                PutLe16(s_.head, next + 14, static_cast<std::uint32_t>(name.languages.size()));
                for (std::size_t l = 0; l < name.languages.size(); ++l, ++leaf) {
                    const std::uint64_t entry = data_entries + kDataEntrySize * leaf;
                    Entry(next, l, ResId::Number(name.languages[l].first), entry);
                    DataEntry(entry, s_.data_offsets[leaf], *name.languages[l].second);
                }
                next += TableSize(name.languages.size());
            }
        }
    }

private:
    void Table(std::uint64_t at, const auto& children) {
        std::size_t named = 0;
        for (const auto& child : children) named += child.id->is_name;
        PutLe16(s_.head, at + 12, static_cast<std::uint32_t>(named));
        PutLe16(s_.head, at + 14, static_cast<std::uint32_t>(children.size() - named));
    }
    void Entry(std::uint64_t table, std::size_t i, const ResId& id, std::uint64_t target) {
        const std::uint64_t at = table + kTableSize + kEntrySize * i;
        PutLe32(s_.head, at,
                id.is_name ? kHighBit | static_cast<std::uint32_t>(names_.at(id.name)) : id.number);
        PutLe32(s_.head, at + 4, static_cast<std::uint32_t>(target));
    }
    void DataEntry(std::uint64_t at, std::uint32_t offset, const Resource& resource) {
        PutLe32(s_.head, at, address_ + offset);
        PutLe32(s_.head, at + 4, static_cast<std::uint32_t>(DataSize(resource.data)));
        PutLe32(s_.head, at + 8, resource.code_page);
    }

    ResourceSection& s_;
    std::uint32_t address_;
    const std::map<std::u16string, std::uint64_t>& names_;
};

}  // namespace

std::optional<ResourceSection> LayOutResources(const ResourceSet& set, std::uint32_t address,
                                               std::string& problem) {
    const std::vector<TypeNode> types = BuildTree(set);
    const std::uint64_t tables = TablesSize(types);
    std::uint64_t end = tables + kDataEntrySize * set.size();
    const std::map<std::u16string, std::uint64_t> names = PlaceNames(types, end);
    end = AlignUp(end, kDataAlignment);
    ResourceSection section;
    section.head.assign(end, '\0');
    for (const auto& [key, resource] : set) {
        end = AlignUp(end, kDataAlignment);
        section.data_offsets.push_back(static_cast<std::uint32_t>(end));
        end += DataSize(resource.data);
        if (end + address > UINT32_MAX) {
            problem = "the resources need more than 4 GiB (at " + KeyText(key) + ")";
            return std::nullopt;
        }
    }
    section.size = static_cast<std::uint32_t>(end);
    HeadWriter writer(section, address, names);
    writer.Names();
    writer.Tables(types, tables);
    return section;
}

}  // namespace pack::pe
