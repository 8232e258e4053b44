#include "solid_pack.h"

#include <lzma.h>
#include <zstd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

#include "format/output_names.h"
#include "text_file.h"

namespace fs = std::filesystem;
namespace format = setup::format;

namespace pack {

namespace {

// LZMA's settings: preset 9 with the installer's dictionary, and no position bits (x86 code is
// not aligned: pb=0 was 1 % smaller on real binaries than the default 2). The extreme preset (9e)
// was 0.14 % smaller for twice the compression time.
constexpr std::uint32_t kLzmaPreset = 9;
constexpr std::uint32_t kLzmaPositionBits = 0;

// What the last run was made from: every source with its size and time, and the codec's settings.
std::string SourcesKey(const std::vector<PayloadEntry>& entries, format::SolidCodec codec) {
    std::ostringstream key;
    key << format::SolidCodecName(codec) << " " << format::kZstdLevel << " "
        << format::kZstdWindowLog << " " << kLzmaPreset << " " << format::kLzmaDictionary << " "
        << kLzmaPositionBits << " " << format::kSolidBlockTarget << "\n";
    for (const PayloadEntry& e : entries) {
        std::error_code ec;
        const auto time = fs::last_write_time(e.source, ec).time_since_epoch().count();
        key << e.source.string() << "\t" << e.size << "\t" << time << "\n";
    }
    return key.str();
}

bool ReadBlockInput(const std::vector<PayloadEntry>& entries, const format::SolidTable& table,
                    std::size_t k, std::string& input, std::string& error) {
    input.clear();
    input.reserve(table.blocks[k].unpacked);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (table.entries[i].block != k) continue;
        std::optional<std::string> bytes = ReadWholeFile(entries[i].source);
        if (!bytes || bytes->size() != entries[i].size) {
            error = entries[i].source.string() + " could not be read or changed while it was read";
            return false;
        }
        input += *bytes;
    }
    return true;
}

// One zstd block: the content checksum lets the decoder itself find a changed byte.
bool CompressZstd(const std::string& input, std::string& packed, std::string& error) {
    ZSTD_CCtx* cctx = ZSTD_createCCtx();
    if (!cctx) {
        error = "no memory for the zstd compressor";
        return false;
    }
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_compressionLevel, format::kZstdLevel);
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_windowLog, format::kZstdWindowLog);
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_checksumFlag, 1);
    packed.resize(ZSTD_compressBound(input.size()));
    const std::size_t n =
        ZSTD_compress2(cctx, packed.data(), packed.size(), input.data(), input.size());
    ZSTD_freeCCtx(cctx);
    if (ZSTD_isError(n)) {
        error = std::string("zstd: ") + ZSTD_getErrorName(n);
        return false;
    }
    packed.resize(n);
    return true;
}

// One LZMA block in the .lzma format: its header, then the data and the end marker. It has no
// checksum of its own: the installer's checksum record of every block covers it.
bool CompressLzma(const std::string& input, std::string& packed, std::string& error) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, kLzmaPreset);
    options.dict_size = format::kLzmaDictionary;
    options.pb = kLzmaPositionBits;
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&stream, &options) != LZMA_OK) {
        error = "no memory for the LZMA compressor";
        return false;
    }
    packed.resize(input.size() + input.size() / 2 + 4096);
    stream.next_in = reinterpret_cast<const std::uint8_t*>(input.data());
    stream.avail_in = input.size();
    stream.next_out = reinterpret_cast<std::uint8_t*>(packed.data());
    stream.avail_out = packed.size();
    const lzma_ret rc = lzma_code(&stream, LZMA_FINISH);
    packed.resize(stream.total_out);
    lzma_end(&stream);
    if (rc != LZMA_STREAM_END) {
        error = "LZMA: compression failed (" + std::to_string(rc) + ")";
        return false;
    }
    return true;
}

bool CompressBlock(format::SolidCodec codec, const std::string& input, std::string& packed,
                   std::string& error) {
    return codec == format::SolidCodec::Lzma ? CompressLzma(input, packed, error)
                                             : CompressZstd(input, packed, error);
}

}  // namespace

std::string SolidBlockOutputName(std::size_t block) {
    return format::OutputFileName(format::SolidBlockResourceName(block));
}

format::SolidTable CutIntoBlocks(const std::vector<std::uint64_t>& sizes, format::SolidCodec codec,
                                 std::string& problem) {
    format::SolidTable table;
    table.codec = codec;
    std::uint64_t total = 0;
    for (std::uint64_t size : sizes) total += size;
    const std::uint32_t target = format::SolidBlockTarget(codec, total);
    for (std::uint64_t size : sizes) {
        if (size > format::kMaxSolidBlock) {
            problem = "a file of " + std::to_string(size) +
                      " bytes is larger than a solid block may be; use --codec zlib";
            return {};
        }
        if (table.blocks.empty() || table.blocks.back().unpacked >= target ||
            table.blocks.back().unpacked + size > format::kMaxSolidBlock)
            table.blocks.push_back({0, 0});
        format::SolidBlock& block = table.blocks.back();
        table.entries.push_back({static_cast<std::uint32_t>(table.blocks.size() - 1),
                                 block.unpacked, static_cast<std::uint32_t>(size)});
        block.unpacked += static_cast<std::uint32_t>(size);
    }
    return table;
}

bool WriteSolidPayload(const std::vector<PayloadEntry>& entries, format::SolidCodec codec,
                       const fs::path& out, unsigned threads, SolidOutputs& outputs,
                       std::string& error) {
    std::vector<std::uint64_t> sizes;
    for (const PayloadEntry& e : entries) sizes.push_back(e.size);
    format::SolidTable table = CutIntoBlocks(sizes, codec, error);
    if (!error.empty()) return false;
    outputs.table = out / format::OutputFileName(format::kSolidTableResourceName);
    outputs.blocks.clear();
    for (std::size_t k = 0; k < table.blocks.size(); ++k)
        outputs.blocks.push_back(out / SolidBlockOutputName(k));

    const std::string key = SourcesKey(entries, codec);
    bool present = fs::exists(outputs.table);
    for (const fs::path& block : outputs.blocks) present = present && fs::exists(block);
    if (present && ReadWholeFile(out / kSolidStampsName) == key) return true;

    std::atomic<std::size_t> next{0};
    std::mutex failure;
    std::vector<std::thread> pool;
    auto work = [&] {
        std::string input, packed, why;
        for (std::size_t k; (k = next++) < table.blocks.size();) {
            bool written = false;
            if (ReadBlockInput(entries, table, k, input, why) &&
                CompressBlock(codec, input, packed, why) &&
                WriteIfChanged(outputs.blocks[k], packed, written, why)) {
                table.blocks[k].packed = static_cast<std::uint32_t>(packed.size());
                continue;
            }
            std::lock_guard lock(failure);
            error = why;
            next = table.blocks.size();
        }
    };
    for (unsigned t = 0; t < std::max(1u, threads) && t < table.blocks.size(); ++t)
        pool.emplace_back(work);
    for (std::thread& t : pool) t.join();
    bool written = false;
    if (!error.empty() ||
        !WriteIfChanged(outputs.table, format::EncodeSolidTable(table), written, error) ||
        !WriteIfChanged(out / kSolidStampsName, key, written, error))
        return false;
    outputs.compressed = true;
    return true;
}

}  // namespace pack
