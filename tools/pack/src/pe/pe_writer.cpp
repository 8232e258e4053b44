#include "pe/pe_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "pe/le_bytes.h"
#include "pe/pe_checksum.h"
#include "pe/pe_image.h"
#include "pe/pe_plan.h"
#include "pe/resource_reader.h"
#include "pe/resource_section.h"
#include "pe/string_table.h"

namespace fs = std::filesystem;

namespace pack::pe {

namespace {

constexpr std::size_t kCopyChunk = 256 * 1024;

// Everything known about the stub before anything is written.
struct Stub {
    PeImage image;
    ResourceSet resources;  // borrowing the stub's bytes
    Placement placement;
};

std::string CheckLayout(std::string_view bytes, const PeImage& image) {
    const DataDirectory certificates = image.Directory(kCertificateDirectory);
    if (certificates.address != 0 || certificates.size != 0)
        return "the stub is signed; sign the finished installer instead";
    // Below the page size the loader needs every file offset to equal its address, which a
    // section added or moved here would not keep.
    if (image.section_alignment < 4096)
        return "the stub's section alignment " + std::to_string(image.section_alignment) +
               " is below the page size; link it with the default alignment";
    if (image.symbol_table != 0)
        return "the stub has a symbol table after its sections; link it stripped (-s)";
    if (bytes.size() > image.raw_end)
        return "the stub has " + std::to_string(bytes.size() - image.raw_end) +
               " bytes after its last section (an overlay), which would be lost";
    return {};
}

std::optional<Stub> ReadStub(std::string_view bytes, std::string& problem) {
    PeParse parse = ParsePe(bytes);
    if (!parse.image) return problem = "the stub: " + parse.problem, std::nullopt;
    Stub stub{std::move(*parse.image), {}, {}};
    problem = CheckLayout(bytes, stub.image);
    if (!problem.empty()) return std::nullopt;
    ResourceRead read = ReadResources(bytes, stub.image);
    if (!read.resources) return problem = "the stub's " + read.problem, std::nullopt;
    stub.resources = std::move(*read.resources);
    std::optional<Placement> placement = PlaceResources(bytes, stub.image, problem);
    if (!placement) return problem = "the stub: " + problem, std::nullopt;
    stub.placement = *placement;
    return stub;
}

// A view of data held in memory, so merging copies no payload.
ResourceData Borrow(const ResourceData& data) {
    if (const auto* owned = std::get_if<std::string>(&data)) return std::string_view(*owned);
    return data;
}

// The stub's resources with the additions over them. Merged string blocks are owned by the
// result; everything else is borrowed.
ResourceSet Merge(const ResourceSet& stub, const ResourceSet& additions) {
    ResourceSet merged;
    for (const auto& [key, r] : stub) merged[key] = {Borrow(r.data), r.code_page};
    for (const auto& [key, r] : additions) {
        auto found = merged.find(key);
        const bool strings = !key.type.is_name && key.type.number == kRtString;
        if (found != merged.end() && strings) {
            std::optional<std::string_view> base = MemoryBytes(found->second.data);
            std::optional<std::string_view> over = MemoryBytes(r.data);
            std::optional<std::string> both =
                base && over ? MergeStringBlocks(*base, *over) : std::nullopt;
            if (both) {
                found->second = {std::move(*both), r.code_page};
                continue;
            }
        }
        merged[key] = {Borrow(r.data), r.code_page};
    }
    return merged;
}

// The output stream with the running checksum and position.
class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}

    bool Write(std::string_view bytes) {
        sum_.Add(bytes);
        at_ += bytes.size();
        return static_cast<bool>(
            out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
    }
    bool PadTo(std::uint64_t offset) {
        static const std::string zeros(4096, '\0');
        while (at_ < offset)
            if (!Write(std::string_view(zeros).substr(
                    0, std::min<std::uint64_t>(zeros.size(), offset - at_))))
                return false;
        return true;
    }
    std::uint64_t at() const { return at_; }
    std::uint32_t Checksum() const { return sum_.Finish(); }

private:
    std::ostream& out_;
    PeChecksum sum_;
    std::uint64_t at_ = 0;
};

// Copies a payload file, which must still have the size it had when the set was made.
bool CopyFile(Output& out, const FileData& file, std::vector<char>& buffer, std::string& error) {
    std::ifstream in(file.path, std::ios::binary);
    if (!in)
        return error = "cannot open " + file.path.string() + ": " + std::strerror(errno), false;
    std::uint64_t left = file.size;
    while (left > 0) {
        const auto want =
            static_cast<std::streamsize>(std::min<std::uint64_t>(left, buffer.size()));
        if (!in.read(buffer.data(), want))
            return error = file.path.string() + " is shorter than the " +
                           std::to_string(file.size) + " bytes it had",
                   false;
        if (!out.Write(std::string_view(buffer.data(), static_cast<std::size_t>(want))))
            return error = "cannot write the executable", false;
        left -= static_cast<std::uint64_t>(want);
    }
    if (in.peek() != std::ifstream::traits_type::eof())
        return error = file.path.string() + " is longer than the " + std::to_string(file.size) +
                       " bytes it had",
               false;
    return true;
}

bool WriteResourceSection(Output& out, const ResourceSection& section, const ResourceSet& set,
                          std::uint64_t raw_size, std::string& error) {
    const std::uint64_t start = out.at();
    bool ok = out.Write(section.head);
    std::vector<char> buffer;
    std::size_t i = 0;
    for (auto it = set.begin(); ok && it != set.end(); ++it, ++i) {
        ok = out.PadTo(start + section.data_offsets[i]);
        if (!ok) break;
        if (std::optional<std::string_view> bytes = MemoryBytes(it->second.data)) {
            ok = out.Write(*bytes);
        } else {
            buffer.resize(kCopyChunk);
            if (!CopyFile(out, std::get<FileData>(it->second.data), buffer, error)) return false;
        }
    }
    if (ok) ok = out.PadTo(start + raw_size);
    if (!ok) error = "cannot write the executable";
    return ok;
}

bool WritePlan(std::string_view stub, const OutputPlan& plan, const ResourceSection& section,
               const ResourceSet& set, std::ostream& stream, std::string& error) {
    const std::ostream::pos_type start = stream.tellp();
    if (start == std::ostream::pos_type(-1))
        return error = "the output cannot be written: it is not seekable", false;
    Output out(stream);
    if (!out.Write(plan.headers)) return error = "cannot write the executable", false;
    for (const Piece& piece : plan.pieces) {
        if (!out.PadTo(piece.to)) return error = "cannot write the executable", false;
        if (piece.resources) {
            if (!WriteResourceSection(out, section, set, piece.size, error)) return false;
        } else if (!out.Write(stub.substr(piece.from, piece.size))) {
            return error = "cannot write the executable", false;
        }
    }
    std::string checksum(4, '\0');
    PutLe32(checksum, 0, out.Checksum());
    const auto end = stream.tellp();
    stream.seekp(start + static_cast<std::streamoff>(plan.checksum_at));
    stream.write(checksum.data(), 4);
    stream.seekp(end);
    if (!stream) return error = "cannot write the executable's checksum", false;
    return true;
}

}  // namespace

std::string CheckStub(std::string_view stub) {
    std::string problem;
    ReadStub(stub, problem);
    return problem;
}

bool WriteExecutable(std::string_view bytes, const ResourceSet& additions, std::ostream& out,
                     std::string& error) {
    std::optional<Stub> stub = ReadStub(bytes, error);
    if (!stub) return false;
    const ResourceSet merged = Merge(stub->resources, additions);
    std::optional<ResourceSection> section =
        LayOutResources(merged, stub->placement.address, error);
    if (!section) return false;
    std::optional<OutputPlan> plan =
        PlanOutput(bytes, stub->image, stub->placement, section->size, error);
    if (!plan) return false;
    return WritePlan(bytes, *plan, *section, merged, out, error);
}

bool WriteExecutableFile(std::string_view stub, const ResourceSet& additions, const fs::path& path,
                         std::string& error) {
    const fs::path temp = path.string() + ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return error = "cannot create " + temp.string() + ": " + std::strerror(errno), false;
    bool ok = WriteExecutable(stub, additions, out, error);
    // A full disk or a network share may report the failure only when the file is closed.
    out.close();
    if (!out) ok = false, error = "cannot write " + temp.string() + ": " + std::strerror(errno);
    std::error_code ec;
    if (ok) {
        fs::rename(temp, path, ec);
        if (ec) ok = false, error = "cannot rename " + temp.string() + ": " + ec.message();
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace pack::pe
