#include "solid_pack.h"

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

// What the last run was made from: every source with its size and time, and the codec's settings.
std::string SourcesKey(const std::vector<PayloadEntry>& entries) {
    std::ostringstream key;
    key << "zstd " << format::kZstdLevel << " " << format::kZstdWindowLog << " "
        << format::kSolidBlockTarget << "\n";
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

// One block: the content checksum lets the decoder itself find a changed byte.
bool CompressBlock(const std::string& input, std::string& packed, std::string& error) {
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

}  // namespace

std::string SolidBlockOutputName(std::size_t block) {
    return format::OutputFileName(format::SolidBlockResourceName(block));
}

format::SolidTable CutIntoBlocks(const std::vector<std::uint64_t>& sizes, std::string& problem) {
    format::SolidTable table;
    for (std::uint64_t size : sizes) {
        if (size > format::kMaxSolidBlock) {
            problem = "a file of " + std::to_string(size) +
                      " bytes is larger than a solid block may be; use --codec zlib";
            return {};
        }
        if (table.blocks.empty() || table.blocks.back().unpacked >= format::kSolidBlockTarget ||
            table.blocks.back().unpacked + size > format::kMaxSolidBlock)
            table.blocks.push_back({0, 0});
        format::SolidBlock& block = table.blocks.back();
        table.entries.push_back({static_cast<std::uint32_t>(table.blocks.size() - 1),
                                 block.unpacked, static_cast<std::uint32_t>(size)});
        block.unpacked += static_cast<std::uint32_t>(size);
    }
    return table;
}

bool WriteSolidPayload(const std::vector<PayloadEntry>& entries, const fs::path& out,
                       unsigned threads, SolidOutputs& outputs, std::string& error) {
    std::vector<std::uint64_t> sizes;
    for (const PayloadEntry& e : entries) sizes.push_back(e.size);
    format::SolidTable table = CutIntoBlocks(sizes, error);
    if (!error.empty()) return false;
    outputs.table = out / format::OutputFileName(format::kSolidTableResourceName);
    outputs.blocks.clear();
    for (std::size_t k = 0; k < table.blocks.size(); ++k)
        outputs.blocks.push_back(out / SolidBlockOutputName(k));

    const std::string key = SourcesKey(entries);
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
                CompressBlock(input, packed, why) &&
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
