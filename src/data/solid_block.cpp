#include "data/solid_block.h"

#include <algorithm>
#include <new>

#include "platform/error.h"

namespace setup {

namespace {

constexpr std::size_t kChunkSize = 256 * 1024;

}  // namespace

BlockDecoder::BlockDecoder(format::SolidCodec codec, const format::SolidBlock& block,
                           const ByteSink& sink)
    : block_(block), sink_(sink) {
    try {
        decoder_ = MakeStreamDecoder(codec, block);
        out_.resize(std::min<std::size_t>(std::max<std::uint32_t>(block.unpacked, 1), kChunkSize));
    } catch (const std::bad_alloc&) {
        throw OutOfMemory();
    }
}

BlockDecoder::~BlockDecoder() = default;

bool BlockDecoder::Emit(std::size_t size) {
    produced_ += size;
    if (produced_ > block_.unpacked) throw GenericError();
    if (size > 0 && !sink_(Bytes(out_.data(), size))) stopped_ = true;
    return !stopped_;
}

bool BlockDecoder::Feed(Bytes input) {
    if (stopped_) return false;
    consumed_ += input.size();
    if (consumed_ > block_.packed) throw GenericError();  // more than the table gives the block
    while (!input.empty() || !ended_) {
        if (ended_) throw GenericError();  // bytes after the stream's end
        const StreamDecoder::Step step = decoder_->Decode(input, out_);
        // Input left, room for output and still no progress: a stream no encoder ends so.
        if (!input.empty() && step.consumed == 0 && step.produced == 0 && !step.ended)
            throw GenericError();
        input = input.subspan(step.consumed);
        ended_ = step.ended;
        if (!Emit(step.produced)) return false;
        // Input used up and the output not full: the decoder needs the next chunk.
        if (input.empty() && step.produced < out_.size()) break;
    }
    return true;
}

bool BlockDecoder::Finish() {
    if (stopped_) return false;
    if (!ended_ || produced_ != block_.unpacked || consumed_ != block_.packed)
        throw StreamReadError();
    return true;
}

std::optional<format::SolidTable> ReadSolidTable(const Resources& resources) {
    const std::optional<Bytes> bytes =
        resources.Find(format::kSolidTableResourceType, format::kSolidTableResourceName);
    if (!bytes) return std::nullopt;
    format::SolidTableOrProblem decoded = format::DecodeSolidTable(*bytes);
    if (!decoded.table) throw GenericError();
    return std::move(decoded.table);
}

bool DecodeBlockEntries(const Resources& resources, const format::SolidTable& table,
                        std::size_t block, const EntryChunkSink& sink) {
    // The entries of this block, in order.
    std::size_t entry = 0;
    while (entry < table.entries.size() && table.entries[entry].block < block) ++entry;
    std::uint64_t at = 0;  // decoded bytes so far
    auto close_empty = [&] {
        for (; entry < table.entries.size() && table.entries[entry].block == block &&
               table.entries[entry].size == 0 && table.entries[entry].offset == at;
             ++entry)
            if (!sink(entry, {}, true)) return false;
        return true;
    };
    const ByteSink split = [&](Bytes chunk) {
        while (!chunk.empty()) {
            if (!close_empty()) return false;
            const format::SolidEntry& e = table.entries[entry];
            const std::uint64_t end = std::uint64_t{e.offset} + e.size;
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
            at += take;
            if (!sink(entry, chunk.first(take), at == end)) return false;
            if (at == end) ++entry;
            chunk = chunk.subspan(take);
        }
        return true;
    };
    const std::string name = format::SolidBlockResourceName(block);
    if (!resources.Find(format::kSolidBlockResourceType, name)) throw ResourceNotFound(name);
    BlockDecoder decoder(table.codec, table.blocks[block], split);
    const bool read = resources.ReadThrough(format::kSolidBlockResourceType, name,
                                            [&](Bytes chunk) { return decoder.Feed(chunk); });
    if (!read && !decoder.Feed({})) return false;
    if (!read) throw StreamReadError();
    return decoder.Finish() && close_empty();
}

bool UnpackSolidEntryTo(const Resources& resources, const format::SolidTable& table,
                        std::size_t entry, const ByteSink& sink) {
    const std::size_t block = table.entries.at(entry).block;
    bool stopped = false, done = false;
    DecodeBlockEntries(resources, table, block, [&](std::size_t i, Bytes chunk, bool last) {
        if (i < entry) return true;
        if ((!chunk.empty() || table.entries[i].size == 0) && !sink(chunk)) {
            stopped = true;
            return false;
        }
        if (last) done = true;
        return !last;  // the rest of the block is not needed
    });
    return !stopped && done;
}

}  // namespace setup
