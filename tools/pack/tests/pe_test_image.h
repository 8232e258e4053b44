// Small synthetic Windows executables for the PE tests, built without the code under test: a
// PE32 or PE32+ image with the given sections, and resource trees laid out depth first (the
// writer lays out breadth first), so reading does not just mirror writing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace pack::pe::testing {

using pack::testing::PutLe;

inline std::uint32_t Align(std::uint64_t v, std::uint32_t a) {
    return static_cast<std::uint32_t>((v + a - 1) / a * a);
}

// One entry of a hand-made resource tree: a table when it has children, else a data leaf.
struct Node {
    std::u16string name;  // empty: use id
    std::uint32_t id = 0;
    std::vector<Node> children;
    std::string data;
};

// Tables with their names right after them, data entries inline, data at the end, each 8-aligned.
class TreeBuilder {
public:
    std::string Build(const std::vector<Node>& root, std::uint32_t address) {
        Table(root);
        for (auto& [entry, data] : data_) {
            out_.resize(Align(out_.size(), 8));
            PutLe(out_, entry, address + static_cast<std::uint32_t>(out_.size()), 4);
            PutLe(out_, entry + 4, static_cast<std::uint32_t>(data.size()), 4);
            out_ += data;
        }
        return out_;
    }

private:
    std::size_t Table(const std::vector<Node>& children) {
        const std::size_t at = out_.size();
        std::size_t named = 0;
        for (const Node& c : children) named += !c.name.empty();
        out_.resize(at + 16 + 8 * children.size());
        PutLe(out_, at + 12, static_cast<std::uint32_t>(named), 2);
        PutLe(out_, at + 14, static_cast<std::uint32_t>(children.size() - named), 2);
        for (std::size_t i = 0; i < children.size(); ++i) {
            const Node& c = children[i];
            const std::size_t entry = at + 16 + 8 * i;
            std::uint32_t id = c.id;
            if (!c.name.empty()) {
                id = 0x80000000u | static_cast<std::uint32_t>(out_.size());
                out_.resize(out_.size() + 2);
                PutLe(out_, out_.size() - 2, static_cast<std::uint32_t>(c.name.size()), 2);
                for (char16_t ch : c.name)
                    out_ += {static_cast<char>(ch), static_cast<char>(ch >> 8)};
                out_.resize(Align(out_.size(), 4));
            }
            PutLe(out_, entry, id, 4);
            if (!c.children.empty()) {
                PutLe(out_, entry + 4, 0x80000000u | static_cast<std::uint32_t>(Table(c.children)),
                      4);
            } else {
                PutLe(out_, entry + 4, static_cast<std::uint32_t>(out_.size()), 4);
                data_.emplace_back(out_.size(), c.data);
                out_.resize(out_.size() + 16);
            }
        }
        return at;
    }

    std::string out_;
    std::vector<std::pair<std::size_t, std::string>> data_;
};

inline Node IdNode(std::uint32_t id) {
    return {{}, id, {}, {}};
}
inline Node NameNode(std::u16string name) {
    return {std::move(name), 0, {}, {}};
}

// A leaf path: type, name, language.
inline Node Leaf3(Node type, Node name, std::uint32_t language, std::string data) {
    name.children.push_back({{}, language, {}, std::move(data)});
    type.children.push_back(std::move(name));
    return type;
}

struct TestSection {
    std::string name;
    // The raw bytes, given the section's memory address (resource data entries need it).
    std::function<std::string(std::uint32_t)> content;
    std::uint32_t extra_memory = 0;  // beyond the raw bytes, like .bss
    std::uint32_t characteristics = 0x40000040;
    int directory = -1;  // the data directory that covers the whole section, if any
};

struct ImageSpec {
    bool pe32_plus = true;
    std::uint32_t file_alignment = 512;
    std::uint32_t section_alignment = 4096;
    std::vector<TestSection> sections;
    std::size_t header_slack = 0;  // extra bytes of headers beyond the aligned size
};

constexpr std::size_t kLfanew = 0x80;

inline std::size_t OptionalHeaderAt() {
    return kLfanew + 24;
}

inline std::string BuildImage(const ImageSpec& spec) {
    const std::size_t optional_size = spec.pe32_plus ? 240 : 224;
    const std::size_t table = OptionalHeaderAt() + optional_size;
    const std::uint32_t headers =
        Align(table + 40 * spec.sections.size() + spec.header_slack, spec.file_alignment);
    std::string f(headers, '\0');
    f[0] = 'M', f[1] = 'Z';
    PutLe(f, 0x3C, kLfanew, 4);
    f.replace(kLfanew, 4, std::string("PE\0\0", 4));
    PutLe(f, kLfanew + 4, spec.pe32_plus ? 0x8664 : 0x14C, 2);
    PutLe(f, kLfanew + 6, static_cast<std::uint32_t>(spec.sections.size()), 2);
    PutLe(f, kLfanew + 20, static_cast<std::uint32_t>(optional_size), 2);
    PutLe(f, kLfanew + 22, spec.pe32_plus ? 0x22 : 0x102, 2);
    const std::size_t o = OptionalHeaderAt();
    PutLe(f, o, spec.pe32_plus ? 0x20B : 0x10B, 2);
    PutLe(f, o + 32, spec.section_alignment, 4);
    PutLe(f, o + 36, spec.file_alignment, 4);
    PutLe(f, o + 60, headers, 4);
    PutLe(f, o + 68, 3, 2);  // console subsystem
    PutLe(f, o + optional_size - 16 * 8 - 4, 16, 4);
    const std::size_t dirs = o + optional_size - 16 * 8;
    std::uint32_t address = Align(headers, spec.section_alignment), initialized = 0;
    for (std::size_t i = 0; i < spec.sections.size(); ++i) {
        const TestSection& s = spec.sections[i];
        const std::string raw = s.content(address);
        const std::uint32_t memory = static_cast<std::uint32_t>(raw.size()) + s.extra_memory;
        const std::size_t h = table + 40 * i;
        f.replace(h, s.name.size(), s.name);
        PutLe(f, h + 8, memory, 4);
        PutLe(f, h + 12, address, 4);
        PutLe(f, h + 16, raw.empty() ? 0 : Align(raw.size(), spec.file_alignment), 4);
        PutLe(f, h + 20, raw.empty() ? 0 : static_cast<std::uint32_t>(f.size()), 4);
        PutLe(f, h + 36, s.characteristics, 4);
        if (s.directory >= 0) {
            PutLe(f, dirs + 8 * s.directory, address, 4);
            PutLe(f, dirs + 8 * s.directory + 4, memory, 4);
        }
        if (s.characteristics & 0x40) initialized += Align(raw.size(), spec.file_alignment);
        if (!raw.empty())
            f += raw + std::string(Align(raw.size(), spec.file_alignment) - raw.size(), '\0');
        address = Align(address + memory, spec.section_alignment);
    }
    PutLe(f, o + 8, initialized, 4);
    PutLe(f, o + 56, address, 4);
    return f;
}

// Bytes that differ from section to section and from position to position.
inline std::string Filler(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7 + i / 251);
    return bytes;
}

// The CheckSum summed in 64 bits and folded once at the end, unlike the library's running fold;
// field is where the CheckSum lies.
inline std::uint32_t SlowChecksum(const std::string& f, std::size_t field) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < f.size(); i += 2) {
        if (i >= field && i < field + 4) continue;
        sum += static_cast<std::uint8_t>(f[i]) +
               (i + 1 < f.size() ? static_cast<std::uint8_t>(f[i + 1]) << 8 : 0);
    }
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + f.size());
}

}  // namespace pack::pe::testing
