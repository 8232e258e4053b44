#include "install/entry_contents.h"

#include <algorithm>

#include "data/unpack.h"

namespace setup {

bool DirectContents::Unpack(std::string_view type, std::string_view name, const ByteSink& sink) {
    return UnpackNamedResourceTo(resources_, type, name, sink);
}

namespace {

constexpr std::size_t kBlockSize = 256u << 10;

}  // namespace

PrefetchedContents::PrefetchedContents(const Resources& resources, std::vector<Entry> entries,
                                       std::size_t max_ahead)
    : resources_(resources),
      entries_(std::move(entries)),
      max_ahead_(std::max<std::size_t>(max_ahead / kBlockSize, 1)) {
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i], i);
    worker_ = std::thread([this] { Work(); });
}

PrefetchedContents::~PrefetchedContents() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

// A block from the pool, or a new one while the pool is smaller than the bound; waits for the
// reader to give one back otherwise. Empty once the reader is gone.
std::vector<std::uint8_t> PrefetchedContents::TakeBlock() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock,
                  [&] { return stop_ || !free_blocks_.empty() || blocks_made_ < max_ahead_; });
    if (stop_) return {};
    if (free_blocks_.empty()) {
        ++blocks_made_;
        lock.unlock();
        std::vector<std::uint8_t> block;
        block.reserve(kBlockSize);
        return block;
    }
    std::vector<std::uint8_t> block = std::move(free_blocks_.back());
    free_blocks_.pop_back();
    return block;
}

bool PrefetchedContents::Push(Piece piece) {
    {
        std::lock_guard lock(mutex_);
        if (stop_) return false;
        queue_.push_back(std::move(piece));
    }
    changed_.notify_all();
    return true;
}

PrefetchedContents::Piece PrefetchedContents::Pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !queue_.empty(); });
    Piece piece = std::move(queue_.front());
    queue_.pop_front();
    return piece;
}

void PrefetchedContents::GiveBack(std::vector<std::uint8_t> block) {
    if (block.capacity() == 0) return;
    block.clear();
    {
        std::lock_guard lock(mutex_);
        free_blocks_.push_back(std::move(block));
    }
    changed_.notify_all();
}

// Fills blocks from the inflater's chunks and hands each on when it is full or its entry ends.
void PrefetchedContents::Work() {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::vector<std::uint8_t> block = TakeBlock();
        if (block.capacity() == 0) return;  // the reader is gone
        Piece end{i, {}, true, nullptr};
        try {
            const bool whole = UnpackNamedResourceTo(
                resources_, entries_[i].first, entries_[i].second, [&](Bytes chunk) {
                    while (!chunk.empty()) {
                        const std::size_t room = kBlockSize - block.size();
                        const std::size_t take = std::min(room, chunk.size());
                        block.insert(block.end(), chunk.begin(), chunk.begin() + take);
                        chunk = chunk.subspan(take);
                        if (block.size() < kBlockSize) continue;
                        if (!Push({i, std::move(block), false, nullptr})) return false;
                        block = TakeBlock();
                        if (block.capacity() == 0) return false;
                    }
                    return true;
                });
            if (!whole) return;
            if (!block.empty()) {
                if (!Push({i, std::move(block), false, nullptr})) return;
            } else {
                GiveBack(std::move(block));
            }
        } catch (...) {
            GiveBack(std::move(block));
            end.error = std::current_exception();
        }
        if (!Push(std::move(end))) return;
    }
}

bool PrefetchedContents::Unpack(std::string_view type, std::string_view name,
                                const ByteSink& sink) {
    const auto found = index_.find({std::string(type), std::string(name)});
    if (found == index_.end() || found->second < next_)
        return UnpackNamedResourceTo(resources_, type, name, sink);
    const std::size_t entry = found->second;
    next_ = entry + 1;
    bool taking = true;
    for (;;) {
        Piece piece = Pop();
        const bool mine = piece.entry == entry;  // earlier entries were skipped by the caller
        // A sink that stopped leaves the rest of its entry to be dropped here.
        if (mine && taking && !piece.bytes.empty()) taking = sink(piece.bytes);
        GiveBack(std::move(piece.bytes));
        if (!mine) continue;
        if (piece.error) std::rethrow_exception(piece.error);
        if (piece.last) return taking;
    }
}

}  // namespace setup
