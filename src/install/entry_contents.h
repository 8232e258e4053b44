// Where the contents of payload entries come from as they are written: read through the
// installer's file and inflated when each is asked for, or inflated ahead on a second thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/resources.h"

namespace setup {

class EntryContents {
public:
    virtual ~EntryContents() = default;
    // Unpacks the framed resource (type, name) to sink; errors as UnpackNamedResourceTo. False
    // when the sink stopped it.
    virtual bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) = 0;
};

// Each entry read and inflated when it is asked for, on the caller's thread.
class DirectContents final : public EntryContents {
public:
    explicit DirectContents(const Resources& resources) : resources_(resources) {}
    bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) override;

private:
    const Resources& resources_;
};

// The entries inflated in their order on a second thread, ahead of the writes, and handed on in
// blocks when their turn comes: one core inflates while the other writes. What waits is bounded
// by max_ahead bytes, in blocks that are used again and again (fresh memory for every block cost
// more than the inflating). Entries skipped by the caller (a protected file kept, the favourites
// link) are dropped; one asked for out of turn (the second write after a running program was
// ended) is read directly.
class PrefetchedContents final : public EntryContents {
public:
    using Entry = std::pair<std::string, std::string>;  // type, name
    PrefetchedContents(const Resources& resources, std::vector<Entry> entries,
                       std::size_t max_ahead = 8u << 20);
    ~PrefetchedContents() override;
    PrefetchedContents(const PrefetchedContents&) = delete;
    PrefetchedContents& operator=(const PrefetchedContents&) = delete;

    bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) override;

private:
    struct Piece {
        std::size_t entry = 0;
        std::vector<std::uint8_t> bytes;  // a block of the pool; empty for the end of an entry
        bool last = false;
        std::exception_ptr error;
    };
    void Work();
    // The worker's side: a block to fill, and the filled block or the end of an entry.
    std::vector<std::uint8_t> TakeBlock();
    bool Push(Piece piece);
    // The reader's side.
    Piece Pop();
    void GiveBack(std::vector<std::uint8_t> block);

    const Resources& resources_;
    const std::vector<Entry> entries_;
    const std::size_t max_ahead_;
    std::map<Entry, std::size_t> index_;
    std::size_t next_ = 0;  // the first entry not yet handed on or dropped

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> queue_;
    std::vector<std::vector<std::uint8_t>> free_blocks_;
    std::size_t blocks_made_ = 0;
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace setup
