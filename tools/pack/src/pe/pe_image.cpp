#include "pe/pe_image.h"

#include <algorithm>

#include "pe/le_bytes.h"

namespace pack::pe {

namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;

PeParse Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

bool IsPowerOfTwo(std::uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

// The fixed part of the optional header, in front of the data directories.
std::size_t FixedOptionalSize(bool pe32_plus) {
    return pe32_plus ? 112 : 96;
}

// DOS header, signature and COFF header: fills the offsets and the section count.
std::string ReadCoff(std::string_view f, PeImage& image, std::uint16_t& sections,
                     std::uint16_t& optional_size) {
    if (f.size() < kDosHeaderSize)
        return "too short for an executable (" + std::to_string(f.size()) + " bytes)";
    if (f.substr(0, 2) != "MZ") return "not a Windows executable (no \"MZ\" header)";
    const std::uint32_t pe = Le32(f, 0x3C);
    if (!Fits(pe, 4 + kCoffHeaderSize, f.size()))
        return "the PE header offset " + Hex(pe) + " lies outside the file";
    if (f.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return "no PE signature at offset " + Hex(pe);
    image.coff_header = pe + 4;
    image.machine = Le16(f, image.coff_header);
    sections = Le16(f, image.coff_header + kCoffNumberOfSections);
    image.symbol_table = Le32(f, image.coff_header + 8);
    optional_size = Le16(f, image.coff_header + 16);
    image.optional_header = image.coff_header + kCoffHeaderSize;
    return {};
}

std::string ReadOptional(std::string_view f, std::uint16_t optional_size, PeImage& image) {
    const std::size_t at = image.optional_header;
    if (optional_size < 2 || !Fits(at, optional_size, f.size()))
        return "the optional header (" + std::to_string(optional_size) +
               " bytes) does not fit in the file";
    const std::uint16_t magic = Le16(f, at);
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return "unknown optional header magic " + Hex(magic);
    image.pe32_plus = magic == kPe32PlusMagic;
    const std::size_t fixed = FixedOptionalSize(image.pe32_plus);
    if (optional_size < fixed)
        return "the optional header is " + std::to_string(optional_size) + " bytes, too short";
    image.size_of_initialized_data = Le32(f, at + kOptSizeOfInitializedData);
    image.section_alignment = Le32(f, at + 32);
    image.file_alignment = Le32(f, at + 36);
    image.size_of_image = Le32(f, at + kOptSizeOfImage);
    image.size_of_headers = Le32(f, at + 60);
    image.checksum = Le32(f, at + kOptCheckSum);
    const std::uint32_t count = Le32(f, at + fixed - 4);
    if (count > kMaxDirectories || fixed + count * 8 > optional_size)
        return std::to_string(count) + " data directories do not fit in the optional header";
    image.directories_at = at + fixed;
    for (std::uint32_t i = 0; i < count; ++i)
        image.directories.push_back(
            {Le32(f, image.directories_at + 8 * i), Le32(f, image.directories_at + 8 * i + 4)});
    image.section_table = at + optional_size;
    return {};
}

std::string CheckAlignments(const PeImage& image) {
    const std::uint32_t fa = image.file_alignment, sa = image.section_alignment;
    if (!IsPowerOfTwo(fa) || fa < 512 || fa > 65536)
        return "file alignment " + std::to_string(fa) + " is not a power of two from 512 to 65536";
    if (!IsPowerOfTwo(sa) || sa < fa)
        return "section alignment " + std::to_string(sa) +
               " is not a power of two at least the file alignment";
    return {};
}

Section ReadSectionHeader(std::string_view f, std::size_t at) {
    Section s;
    std::string_view name = f.substr(at, 8);
    s.name = std::string(name.substr(0, name.find('\0')));
    s.virtual_size = Le32(f, at + 8);
    s.virtual_address = Le32(f, at + 12);
    s.raw_size = Le32(f, at + 16);
    s.raw_pointer = Le32(f, at + 20);
    s.characteristics = Le32(f, at + 36);
    return s;
}

// Raw data inside the file, addresses aligned, ascending and not overlapping, all inside the
// image size; the headers before the first section in both the file and memory.
std::string CheckSection(const PeImage& image, const Section& s, std::uint64_t file_size,
                         std::uint64_t& next_address) {
    const std::string which =
        "section " + std::to_string(image.sections.size()) + " (" + s.name + ")";
    if (s.raw_size > 0 && !Fits(s.raw_pointer, s.raw_size, file_size))
        return which + ": its data (" + std::to_string(s.raw_size) + " bytes at " +
               Hex(s.raw_pointer) + ") reaches past the end of the file (" +
               std::to_string(file_size) + " bytes); the file is truncated or damaged";
    if (s.raw_size > 0 && s.raw_pointer < image.size_of_headers)
        return which + ": its data at " + Hex(s.raw_pointer) + " overlaps the headers";
    if (s.virtual_address % image.section_alignment != 0 || s.virtual_address < next_address)
        return which + ": address " + Hex(s.virtual_address) +
               " is not aligned or not above the previous section";
    next_address =
        AlignUp(std::uint64_t{s.virtual_address} + s.MemorySize(), image.section_alignment);
    if (next_address > image.size_of_image)
        return which + ": it ends past the image size " + Hex(image.size_of_image);
    return {};
}

std::string ReadSections(std::string_view f, std::uint16_t count, PeImage& image) {
    const std::uint64_t table_end = image.section_table + std::uint64_t{count} * kSectionHeaderSize;
    if (table_end > image.size_of_headers || image.size_of_headers > f.size())
        return "the section table (" + std::to_string(count) +
               " sections) does not fit in the headers or the file";
    std::uint64_t next_address = AlignUp(image.size_of_headers, image.section_alignment);
    image.raw_end = image.size_of_headers;
    for (std::uint16_t i = 0; i < count; ++i) {
        Section s = ReadSectionHeader(f, image.section_table + i * kSectionHeaderSize);
        if (std::string why = CheckSection(image, s, f.size(), next_address); !why.empty())
            return why;
        if (s.raw_size > 0)
            image.raw_end =
                std::max<std::uint64_t>(image.raw_end, std::uint64_t{s.raw_pointer} + s.raw_size);
        image.sections.push_back(std::move(s));
    }
    return {};
}

}  // namespace

PeParse ParsePe(std::string_view f) {
    PeImage image;
    std::uint16_t sections = 0, optional_size = 0;
    std::string why = ReadCoff(f, image, sections, optional_size);
    if (why.empty()) why = ReadOptional(f, optional_size, image);
    if (why.empty()) why = CheckAlignments(image);
    if (why.empty()) why = ReadSections(f, sections, image);
    if (!why.empty()) return Fail(std::move(why));
    return {std::move(image), {}};
}

std::optional<std::uint64_t> FileOffsetOf(const PeImage& image, std::uint64_t address,
                                          std::uint64_t size) {
    for (const Section& s : image.sections)
        if (address >= s.virtual_address &&
            Fits(address - s.virtual_address, size, std::min(s.raw_size, s.MemorySize())))
            return s.raw_pointer + (address - s.virtual_address);
    return std::nullopt;
}

std::optional<std::size_t> SectionAt(const PeImage& image, std::uint64_t address) {
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const Section& s = image.sections[i];
        if (address >= s.virtual_address && address - s.virtual_address < s.MemorySize()) return i;
    }
    return std::nullopt;
}

}  // namespace pack::pe
