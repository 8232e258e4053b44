// Where the contents of payload entries come from as they are written: read through the
// installer's file and inflated when each is asked for, or inflated ahead on a second thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "data/solid_block.h"
#include "data/unpack.h"
#include "platform/resources.h"

namespace setup {

class EntryContents {
public:
    virtual ~EntryContents() = default;
    // Unpacks the framed resource (type, name) to sink; errors as UnpackNamedResourceTo. False
    // when the sink stopped it.
    virtual bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) = 0;
    // Whether the installer carries the entry of that resource.
    virtual bool Holds(std::string_view type, std::string_view name) const = 0;
};

// Each entry read and inflated when it is asked for, on the caller's thread. In a solid
// installer (one with a block table) an entry is found by its resource name in the table and its
// block decoded up to the entry's end.
class DirectContents final : public EntryContents {
public:
    explicit DirectContents(const Resources& resources);
    bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) override;
    bool Holds(std::string_view type, std::string_view name) const override;
    // The block table of a solid installer; nothing for framed entries.
    const std::optional<format::SolidTable>& Table() const { return table_; }

private:
    std::optional<std::size_t> SolidIndex(std::string_view type, std::string_view name) const;

    const Resources& resources_;
    InflateBuffer buffer_;
    std::optional<format::SolidTable> table_;
};

// Starts a thread that runs work; it may throw (no thread to be had). The read-ahead takes it as
// a parameter so that a thread that cannot start can be tried.
using ThreadStarter = std::function<std::thread(std::function<void()>)>;
std::thread StartThread(std::function<void()> work);

// The entries inflated in their order on a second thread, ahead of the writes, and handed on in
// blocks when their turn comes: one core inflates while the other writes. An LZMA installer of
// more than one block is decoded on two threads, alternate blocks each, so that the slow codec
// decodes the next block while the current one is written. What waits is bounded by max_ahead
// bytes per thread (solid_ahead for a solid installer), in blocks that are used again and again
// (fresh memory for every block cost more than the inflating); a block goes back to its pool
// however its piece is left, a sink that throws included. Entries skipped by the caller (a
// protected file kept, the favourites link) are dropped; one asked for out of turn (the second
// write after a running program was ended) is read directly. Without a thread (it could not
// start, or it failed outside any one entry) its entries are read directly too; an entry already
// partly handed on then fails with the thread's error.
class PrefetchedContents final : public EntryContents {
public:
    using Entry = std::pair<std::string, std::string>;  // type, name
    PrefetchedContents(const Resources& resources, std::vector<Entry> entries,
                       std::size_t max_ahead = 8u << 20, const ThreadStarter& start = StartThread,
                       std::size_t solid_ahead = 0);
    ~PrefetchedContents() override;
    PrefetchedContents(const PrefetchedContents&) = delete;
    PrefetchedContents& operator=(const PrefetchedContents&) = delete;

    bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) override;
    bool Holds(std::string_view type, std::string_view name) const override {
        return direct_.Holds(type, name);
    }
    // Whether the second thread started.
    bool ReadsAhead() const { return !lanes_.empty() && lanes_[0].thread.joinable(); }
    // How many threads decode: 2 for an LZMA installer of several blocks, else 1.
    std::size_t Lanes() const { return lanes_.size(); }

private:
    // A block of a lane's pool, given back to it when it is dropped; empty without one.
    class Block {
    public:
        Block() = default;
        Block(PrefetchedContents& pool, std::size_t lane, std::vector<std::uint8_t> bytes)
            : pool_(&pool), lane_(lane), bytes_(std::move(bytes)) {}
        Block(Block&& other) noexcept
            : pool_(std::exchange(other.pool_, nullptr)),
              lane_(other.lane_),
              bytes_(std::move(other.bytes_)) {}
        Block& operator=(Block&& other) noexcept;
        ~Block() { Release(); }
        std::vector<std::uint8_t>& Bytes() { return bytes_; }
        bool Held() const { return pool_ != nullptr; }

    private:
        void Release() noexcept;
        PrefetchedContents* pool_ = nullptr;
        std::size_t lane_ = 0;
        std::vector<std::uint8_t> bytes_;
    };
    struct Piece {
        std::size_t entry = 0;
        Block block;  // nothing for the end of an entry
        bool last = false;
        std::exception_ptr error;
    };
    // One decoding thread with its pool of blocks and its queue of pieces, in entry order.
    struct Lane {
        std::vector<std::vector<std::uint8_t>> free_blocks;  // room for every block, made at once
        std::deque<Piece> queue;  // after the pool: its blocks go back there
        std::size_t blocks_made = 0;
        bool ended = false;
        std::exception_ptr failure;
        InflateBuffer buffer;  // the thread's alone
        std::thread thread;
    };
    void Work(std::size_t lane) noexcept;
    bool ReadAhead(std::size_t i);
    // A solid installer's block k, decoded and split into its entries' pieces.
    bool ReadAheadBlock(std::size_t lane, std::size_t block);
    // Adds chunk of entry i to block, handing each full block on (taking a new one as needed).
    bool Append(std::size_t lane, Block& block, std::size_t entry, Bytes chunk);
    // The worker's side: a block to fill (none once the reader is gone), and the filled block or
    // the end of an entry.
    Block TakeBlock(std::size_t lane);
    bool Push(std::size_t lane, Piece piece);
    // The reader's side: the next piece; nothing once the worker has ended and none is left.
    std::optional<Piece> Pop(std::size_t lane);
    void GiveBack(std::size_t lane, std::vector<std::uint8_t> block) noexcept;
    [[noreturn]] void RethrowWorkerFailure(std::size_t lane);
    std::size_t LaneOf(std::size_t entry) const;

    const Resources& resources_;
    const std::vector<Entry> entries_;
    std::size_t max_ahead_ = 1;  // in blocks, per lane
    std::map<Entry, std::size_t> index_;
    std::size_t next_ = 0;  // the first entry not yet handed on or dropped
    DirectContents direct_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Lane> lanes_;  // made before any thread starts, never resized
    bool stop_ = false;
};

}  // namespace setup
