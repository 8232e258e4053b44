// The headers of a Windows executable (PE32 for i686, PE32+ for x86_64): where each section lies
// in the file and in memory, and the data directories. Every field is checked against the file's
// size before it is read, so a damaged or truncated file gives a problem text, never a bad read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pack::pe {

// Data directory slots used here.
constexpr std::size_t kResourceDirectory = 2;
constexpr std::size_t kCertificateDirectory = 4;  // a file offset, not an address
constexpr std::size_t kMaxDirectories = 16;

constexpr std::size_t kSectionHeaderSize = 40;

struct Section {
    std::string name;  // up to 8 bytes, trailing NULs dropped
    std::uint32_t virtual_size = 0;
    std::uint32_t virtual_address = 0;
    std::uint32_t raw_size = 0;
    std::uint32_t raw_pointer = 0;
    std::uint32_t characteristics = 0;

    // How much address space the loader gives the section: VirtualSize, or the raw size when a
    // linker left VirtualSize 0.
    std::uint32_t MemorySize() const { return virtual_size ? virtual_size : raw_size; }
};

struct DataDirectory {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};

struct PeImage {
    bool pe32_plus = false;
    std::uint16_t machine = 0;
    std::uint32_t symbol_table = 0;  // file offset of a COFF symbol table, 0 when stripped
    std::uint32_t section_alignment = 0;
    std::uint32_t file_alignment = 0;
    std::uint32_t size_of_initialized_data = 0;
    std::uint32_t size_of_image = 0;
    std::uint32_t size_of_headers = 0;
    std::uint32_t checksum = 0;
    std::vector<DataDirectory> directories;  // NumberOfRvaAndSizes of them
    std::vector<Section> sections;

    // File offsets of the fields the writer updates.
    std::size_t coff_header = 0;  // just after "PE\0\0"
    std::size_t optional_header = 0;
    std::size_t directories_at = 0;
    std::size_t section_table = 0;

    // Where the last section's raw data ends (at least SizeOfHeaders): bytes after it are an
    // overlay that no section maps.
    std::uint64_t raw_end = 0;

    DataDirectory Directory(std::size_t index) const {
        return index < directories.size() ? directories[index] : DataDirectory{};
    }
};

// Optional-header field offsets shared by both formats.
constexpr std::size_t kOptSizeOfInitializedData = 8;
constexpr std::size_t kOptSizeOfImage = 56;
constexpr std::size_t kOptCheckSum = 64;
// COFF header field offsets.
constexpr std::size_t kCoffNumberOfSections = 2;

struct PeParse {
    std::optional<PeImage> image;  // set when the headers are sound
    std::string problem;           // otherwise what is wrong
};

PeParse ParsePe(std::string_view file);

// The file offset of [address, address + size) when the whole range lies in one section's raw
// data; nothing otherwise.
std::optional<std::uint64_t> FileOffsetOf(const PeImage& image, std::uint64_t address,
                                          std::uint64_t size);

// The index of the section whose memory holds address, or nothing.
std::optional<std::size_t> SectionAt(const PeImage& image, std::uint64_t address);

}  // namespace pack::pe
