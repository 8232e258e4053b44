#include "install/entry_contents.h"

#include "data/unpack.h"

namespace setup {

bool DirectContents::Unpack(std::string_view type, std::string_view name, const ByteSink& sink) {
    return UnpackNamedResourceTo(resources_, type, name, sink);
}

PrefetchedContents::PrefetchedContents(const Resources& resources, std::vector<Entry> entries,
                                       std::size_t max_ahead)
    : resources_(resources), entries_(std::move(entries)), max_ahead_(max_ahead) {
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

// Waits while too much is ahead; false once the reader is gone.
bool PrefetchedContents::Push(Piece piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || bytes_ahead_ < max_ahead_; });
    if (stop_) return false;
    bytes_ahead_ += piece.bytes.size();
    queue_.push_back(std::move(piece));
    changed_.notify_all();
    return true;
}

PrefetchedContents::Piece PrefetchedContents::Pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !queue_.empty(); });
    Piece piece = std::move(queue_.front());
    queue_.pop_front();
    bytes_ahead_ -= piece.bytes.size();
    changed_.notify_all();
    return piece;
}

void PrefetchedContents::Work() {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Piece end{i, {}, true, nullptr};
        try {
            const bool whole = UnpackNamedResourceTo(
                resources_, entries_[i].first, entries_[i].second, [&](Bytes chunk) {
                    return Push(
                        {i, std::vector<std::uint8_t>(chunk.begin(), chunk.end()), false, nullptr});
                });
            if (!whole) return;  // the reader is gone
        } catch (...) {
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
        if (piece.entry < entry) continue;  // skipped by the caller: dropped
        if (piece.error) std::rethrow_exception(piece.error);
        if (piece.last) return taking;
        // A sink that stopped leaves the rest of its entry to be dropped here.
        if (taking && !piece.bytes.empty()) taking = sink(piece.bytes);
    }
}

}  // namespace setup
