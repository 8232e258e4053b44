#include "pe/pe_plan.h"

#include <algorithm>

#include "pe/le_bytes.h"

namespace pack::pe {

namespace {

constexpr char kResourceSectionName[] = ".rsrc";
constexpr char kRelocationSectionName[] = ".reloc";
// IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ
constexpr std::uint32_t kResourceCharacteristics = 0x40000040;

std::uint64_t RawEnd(const Section& s) {
    return std::uint64_t{s.raw_pointer} + s.raw_size;
}

std::uint64_t MemoryEnd(const Section& s) {
    return std::uint64_t{s.virtual_address} + s.MemorySize();
}

bool Inside(const Section& s, std::uint32_t address) {
    return address >= s.virtual_address && address < MemoryEnd(s);
}

// The resource section can be rewritten where it is when only relocation sections follow it,
// in memory and in the file, and no other directory keeps data in it.
bool CanReplace(const PeImage& image, std::size_t index) {
    const Section& rsrc = image.sections[index];
    if (rsrc.raw_size == 0 || rsrc.raw_pointer % image.file_alignment != 0) return false;
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const Section& s = image.sections[i];
        if (i < index && s.raw_size > 0 && RawEnd(s) > rsrc.raw_pointer) return false;
        if (i > index &&
            (s.name != kRelocationSectionName || (s.raw_size > 0 && s.raw_pointer < RawEnd(rsrc))))
            return false;
    }
    for (std::size_t d = 0; d < image.directories.size(); ++d)
        if (d != kResourceDirectory && d != kCertificateDirectory &&
            image.directories[d].size > 0 && Inside(rsrc, image.directories[d].address))
            return false;
    return true;
}

std::string CheckHeaderRoom(std::string_view stub, const PeImage& image) {
    const std::uint64_t table_end =
        image.section_table + image.sections.size() * kSectionHeaderSize;
    if (table_end + kSectionHeaderSize > image.size_of_headers)
        return "no room for another section header: the section table ends at " + Hex(table_end) +
               " and the first section's data starts at " + Hex(image.size_of_headers);
    if (stub.substr(table_end, kSectionHeaderSize).find_first_not_of('\0') != std::string::npos)
        return "no room for another section header: the bytes after the section table at " +
               Hex(table_end) + " are in use";
    if (image.sections.size() >= 0xFFFF) return "the stub has too many sections";
    return {};
}

// The sections of the output, in the stub's order: the replaced one resized and those after it
// moved up, or the new one added at the end.
std::vector<Section> OutputSections(const PeImage& image, const Placement& p,
                                    std::uint32_t resource_size) {
    std::vector<Section> sections = image.sections;
    const auto raw_size = static_cast<std::uint32_t>(AlignUp(resource_size, image.file_alignment));
    if (!p.replaced) {
        sections.push_back({kResourceSectionName, resource_size, p.address, raw_size,
                            static_cast<std::uint32_t>(p.file_offset), kResourceCharacteristics});
        return sections;
    }
    Section& rsrc = sections[*p.replaced];
    rsrc.virtual_size = resource_size;
    rsrc.raw_size = raw_size;
    for (std::size_t i = *p.replaced + 1; i < sections.size(); ++i) {
        const Section& before = sections[i - 1];
        sections[i].virtual_address =
            static_cast<std::uint32_t>(AlignUp(MemoryEnd(before), image.section_alignment));
        if (sections[i].raw_size > 0)
            sections[i].raw_pointer =
                static_cast<std::uint32_t>(AlignUp(RawEnd(before), image.file_alignment));
    }
    return sections;
}

// Directories that point into a moved section follow it; the resource directory points to the
// new tree.
void UpdateDirectories(const PeImage& image, const std::vector<Section>& sections,
                       const Placement& p, std::uint32_t resource_size, std::string& headers) {
    for (std::size_t d = 0; d < image.directories.size(); ++d) {
        DataDirectory dir = image.directories[d];
        if (d == kResourceDirectory) {
            dir = {p.address, resource_size};
        } else if (d != kCertificateDirectory && dir.size > 0) {
            std::optional<std::size_t> in = SectionAt(image, dir.address);
            if (in)
                dir.address += sections[*in].virtual_address - image.sections[*in].virtual_address;
        }
        PutLe32(headers, image.directories_at + 8 * d, dir.address);
        PutLe32(headers, image.directories_at + 8 * d + 4, dir.size);
    }
}

void WriteSectionHeaders(const PeImage& image, const std::vector<Section>& sections,
                         std::string& headers) {
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Section& s = sections[i];
        const std::size_t at = image.section_table + i * kSectionHeaderSize;
        if (i >= image.sections.size()) {
            headers.replace(at, kSectionHeaderSize, kSectionHeaderSize, '\0');
            headers.replace(at, s.name.size(), s.name);
            PutLe32(headers, at + 36, s.characteristics);
        }
        PutLe32(headers, at + 8, s.virtual_size);
        PutLe32(headers, at + 12, s.virtual_address);
        PutLe32(headers, at + 16, s.raw_size);
        PutLe32(headers, at + 20, s.raw_pointer);
    }
}

std::vector<Piece> Pieces(const PeImage& image, const std::vector<Section>& sections,
                          const Placement& p) {
    const std::uint64_t copied_end = p.replaced ? p.file_offset : image.raw_end;
    std::vector<Piece> pieces;
    if (copied_end > image.size_of_headers)
        pieces.push_back({image.size_of_headers, image.size_of_headers,
                          copied_end - image.size_of_headers, false});
    const std::size_t rsrc = p.replaced ? *p.replaced : sections.size() - 1;
    pieces.push_back({p.file_offset, 0, sections[rsrc].raw_size, true});
    for (std::size_t i = rsrc + 1; i < sections.size(); ++i)
        if (sections[i].raw_size > 0)
            pieces.push_back({sections[i].raw_pointer, image.sections[i].raw_pointer,
                              sections[i].raw_size, false});
    return pieces;
}

}  // namespace

std::optional<Placement> PlaceResources(std::string_view stub, const PeImage& image,
                                        std::string& problem) {
    const DataDirectory dir = image.Directory(kResourceDirectory);
    std::optional<std::size_t> current =
        dir.address != 0 ? SectionAt(image, dir.address) : std::nullopt;
    if (current && CanReplace(image, *current)) {
        const Section& s = image.sections[*current];
        return Placement{current, s.virtual_address, s.raw_pointer};
    }
    if (image.directories.size() <= kResourceDirectory) {
        problem = "the optional header has no resource directory entry";
        return std::nullopt;
    }
    problem = CheckHeaderRoom(stub, image);
    if (!problem.empty()) return std::nullopt;
    const std::uint64_t address =
        image.sections.empty() ? image.size_of_headers : MemoryEnd(image.sections.back());
    return Placement{std::nullopt,
                     static_cast<std::uint32_t>(AlignUp(address, image.section_alignment)),
                     AlignUp(image.raw_end, image.file_alignment)};
}

std::optional<OutputPlan> PlanOutput(std::string_view stub, const PeImage& image,
                                     const Placement& p, std::uint32_t resource_size,
                                     std::string& problem) {
    const std::vector<Section> sections = OutputSections(image, p, resource_size);
    const std::uint64_t image_size = AlignUp(MemoryEnd(sections.back()), image.section_alignment);
    OutputPlan plan;
    plan.pieces = Pieces(image, sections, p);
    plan.file_size = plan.pieces.back().to + plan.pieces.back().size;
    if (image_size > UINT32_MAX || plan.file_size > UINT32_MAX) {
        problem = "the finished executable would be larger than 4 GiB";
        return std::nullopt;
    }
    // The linker's own count is kept, less the old resource section's data, plus the new one's.
    const std::uint32_t old_raw = p.replaced ? image.sections[*p.replaced].raw_size : 0;
    const std::size_t rsrc = p.replaced ? *p.replaced : sections.size() - 1;
    const std::uint64_t initialized = image.size_of_initialized_data -
                                      std::min(old_raw, image.size_of_initialized_data) +
                                      std::uint64_t{sections[rsrc].raw_size};

    plan.headers = std::string(stub.substr(0, image.size_of_headers));
    plan.checksum_at = image.optional_header + kOptCheckSum;
    PutLe16(plan.headers, image.coff_header + kCoffNumberOfSections,
            static_cast<std::uint32_t>(sections.size()));
    PutLe32(plan.headers, image.optional_header + kOptSizeOfInitializedData,
            static_cast<std::uint32_t>(std::min<std::uint64_t>(initialized, UINT32_MAX)));
    PutLe32(plan.headers, image.optional_header + kOptSizeOfImage,
            static_cast<std::uint32_t>(image_size));
    PutLe32(plan.headers, plan.checksum_at, 0);
    UpdateDirectories(image, sections, p, resource_size, plan.headers);
    WriteSectionHeaders(image, sections, plan.headers);
    return plan;
}

}  // namespace pack::pe
