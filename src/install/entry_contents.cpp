#include "install/entry_contents.h"

#include <algorithm>

#include "format/resource_ids.h"
#include "platform/error.h"

namespace setup {

// A table that does not decode is left to the damage check, which refuses the installer before
// anything is read; here it counts as none.
DirectContents::DirectContents(const Resources& resources) : resources_(resources) {
    try {
        table_ = ReadSolidTable(resources);
    } catch (const std::exception&) {
        table_.reset();
    }
}

// Entry i of the list is named as in a framed installer; the table holds its place.
std::optional<std::size_t> DirectContents::SolidIndex(std::string_view type,
                                                      std::string_view name) const {
    if (!table_) return std::nullopt;
    const std::string digits(name.substr(std::min<std::size_t>(name.size(), 6)));
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const std::size_t i = std::stoul(digits.substr(0, 9));
    if (i >= table_->entries.size() || format::PayloadResourceName(static_cast<int>(i)) != name ||
        format::PayloadResourceType(static_cast<int>(i)) != type)
        return std::nullopt;
    return i;
}

bool DirectContents::Unpack(std::string_view type, std::string_view name, const ByteSink& sink) {
    if (!table_) return UnpackNamedResourceTo(resources_, type, name, sink, &buffer_);
    const std::optional<std::size_t> i = SolidIndex(type, name);
    if (!i) throw ResourceNotFound(name);
    return UnpackSolidEntryTo(resources_, *table_, *i, sink);
}

bool DirectContents::Holds(std::string_view type, std::string_view name) const {
    return table_ ? SolidIndex(type, name).has_value() : resources_.Find(type, name).has_value();
}

std::thread StartThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

namespace {

constexpr std::size_t kBlockSize = 256u << 10;

}  // namespace

PrefetchedContents::Block& PrefetchedContents::Block::operator=(Block&& other) noexcept {
    if (this != &other) {
        Release();
        pool_ = std::exchange(other.pool_, nullptr);
        lane_ = other.lane_;
        bytes_ = std::move(other.bytes_);
    }
    return *this;
}

void PrefetchedContents::Block::Release() noexcept {
    if (pool_) std::exchange(pool_, nullptr)->GiveBack(lane_, std::move(bytes_));
}

// Each pool's list has room for every block before the threads start, so that giving one back
// never needs memory. A thread that cannot start leaves its entries to be read directly.
PrefetchedContents::PrefetchedContents(const Resources& resources, std::vector<Entry> entries,
                                       std::size_t max_ahead, const ThreadStarter& start,
                                       std::size_t solid_ahead)
    : resources_(resources), entries_(std::move(entries)), direct_(resources) {
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i], i);
    const auto& table = direct_.Table();
    // zstd decodes faster than the writes go: a second thread would only hold a second window.
    const bool two =
        table && table->blocks.size() > 1 && table->codec == format::SolidCodec::Lzma;
    if (table && solid_ahead > 0) max_ahead = solid_ahead;
    max_ahead_ = std::max<std::size_t>(max_ahead / kBlockSize, 1);
    lanes_ = std::vector<Lane>(two ? 2 : 1);
    for (Lane& lane : lanes_) lane.free_blocks.reserve(max_ahead_);
    for (std::size_t l = 0; l < lanes_.size(); ++l) {
        try {
            lanes_[l].thread = start([this, l] { Work(l); });
        } catch (...) {
            lanes_[l].thread = std::thread();
        }
    }
}

PrefetchedContents::~PrefetchedContents() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    for (Lane& lane : lanes_)
        if (lane.thread.joinable()) lane.thread.join();
    for (Lane& lane : lanes_) lane.queue.clear();  // blocks go back while the pools are there
}

// Block k of a solid installer is decoded by lane k % 2; framed entries all by lane 0.
std::size_t PrefetchedContents::LaneOf(std::size_t entry) const {
    const auto& table = direct_.Table();
    return table ? table->entries[entry].block % lanes_.size() : 0;
}

// A block from the pool, or a new one while the pool is smaller than the bound; waits for the
// reader to give one back otherwise. None once the reader is gone.
PrefetchedContents::Block PrefetchedContents::TakeBlock(std::size_t l) {
    std::unique_lock lock(mutex_);
    Lane& lane = lanes_[l];
    changed_.wait(
        lock, [&] { return stop_ || !lane.free_blocks.empty() || lane.blocks_made < max_ahead_; });
    if (stop_) return {};
    if (lane.free_blocks.empty()) {
        ++lane.blocks_made;
        lock.unlock();
        std::vector<std::uint8_t> bytes;
        bytes.reserve(kBlockSize);
        return Block(*this, l, std::move(bytes));
    }
    std::vector<std::uint8_t> bytes = std::move(lane.free_blocks.back());
    lane.free_blocks.pop_back();
    return Block(*this, l, std::move(bytes));
}

bool PrefetchedContents::Push(std::size_t l, Piece piece) {
    {
        std::lock_guard lock(mutex_);
        if (stop_) return false;
        lanes_[l].queue.push_back(std::move(piece));
    }
    changed_.notify_all();
    return true;
}

std::optional<PrefetchedContents::Piece> PrefetchedContents::Pop(std::size_t l) {
    std::unique_lock lock(mutex_);
    Lane& lane = lanes_[l];
    changed_.wait(lock, [&] { return !lane.queue.empty() || lane.ended; });
    if (lane.queue.empty()) return std::nullopt;
    Piece piece = std::move(lane.queue.front());
    lane.queue.pop_front();
    return piece;
}

void PrefetchedContents::GiveBack(std::size_t l, std::vector<std::uint8_t> block) noexcept {
    block.clear();
    {
        std::lock_guard lock(mutex_);
        lanes_[l].free_blocks.push_back(std::move(block));  // within the capacity reserved
    }
    changed_.notify_all();
}

// Nothing leaves the thread: whatever ends it early is kept for the reader, which reads the
// entries still to come directly.
void PrefetchedContents::Work(std::size_t l) noexcept {
    std::exception_ptr failure;
    try {
        if (const auto& table = direct_.Table()) {
            for (std::size_t k = l; k < table->blocks.size(); k += lanes_.size())
                if (!ReadAheadBlock(l, k)) break;
        } else {
            for (std::size_t i = 0; i < entries_.size(); ++i)
                if (!ReadAhead(i)) break;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        lanes_[l].ended = true;
        lanes_[l].failure = failure;
    }
    changed_.notify_all();
}

// Fills blocks from the inflater's chunks and hands each on when it is full or its entry ends;
// an entry that fails to unpack ends with its error. False once the reader is gone.
bool PrefetchedContents::ReadAhead(std::size_t i) {
    Block block = TakeBlock(0);
    if (!block.Held()) return false;
    Piece end{i, {}, true, nullptr};
    try {
        const bool whole = UnpackNamedResourceTo(
            resources_, entries_[i].first, entries_[i].second,
            [&](Bytes chunk) { return Append(0, block, i, chunk); }, &lanes_[0].buffer);
        if (!whole) return false;
        if (block.Held() && !block.Bytes().empty() &&
            !Push(0, {i, std::move(block), false, nullptr}))
            return false;
    } catch (const std::exception&) {
        end.error = std::current_exception();
    }
    return Push(0, std::move(end));
}

bool PrefetchedContents::Append(std::size_t l, Block& block, std::size_t entry, Bytes chunk) {
    while (!chunk.empty()) {
        if (!block.Held() && !(block = TakeBlock(l)).Held()) return false;
        std::vector<std::uint8_t>& bytes = block.Bytes();
        const std::size_t take = std::min(kBlockSize - bytes.size(), chunk.size());
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + take);
        chunk = chunk.subspan(take);
        if (bytes.size() == kBlockSize && !Push(l, {entry, std::move(block), false, nullptr}))
            return false;
    }
    return true;
}

// Each entry ends with its end piece; a block that fails ends every entry of it not yet ended
// with the error, so each of them fails as a damaged framed entry would. False once the reader
// is gone.
bool PrefetchedContents::ReadAheadBlock(std::size_t l, std::size_t k) {
    const format::SolidTable& table = *direct_.Table();
    std::size_t open = 0;  // the first entry of the block not yet ended
    while (open < table.entries.size() && table.entries[open].block < k) ++open;
    Block block;
    try {
        const bool whole =
            DecodeBlockEntries(resources_, table, k, [&](std::size_t i, Bytes chunk, bool last) {
                if (!Append(l, block, i, chunk)) return false;
                if (!last) return true;
                if (block.Held() && !block.Bytes().empty() &&
                    !Push(l, {i, std::move(block), false, nullptr}))
                    return false;
                open = i + 1;
                return Push(l, {i, {}, true, nullptr});
            });
        if (!whole) return false;
    } catch (const std::exception&) {
        for (; open < table.entries.size() && table.entries[open].block == k; ++open)
            if (!Push(l, {open, {}, true, std::current_exception()})) return false;
    }
    return true;
}

[[noreturn]] void PrefetchedContents::RethrowWorkerFailure(std::size_t l) {
    std::exception_ptr failure;
    {
        std::lock_guard lock(mutex_);
        failure = lanes_[l].failure;
    }
    if (failure) std::rethrow_exception(failure);
    throw GenericError();
}

bool PrefetchedContents::Unpack(std::string_view type, std::string_view name,
                                const ByteSink& sink) {
    const auto found = index_.find({std::string(type), std::string(name)});
    if (!ReadsAhead() || found == index_.end() || found->second < next_)
        return direct_.Unpack(type, name, sink);
    const std::size_t entry = found->second, lane = LaneOf(entry);
    if (!lanes_[lane].thread.joinable()) return direct_.Unpack(type, name, sink);
    next_ = entry + 1;
    bool taking = true, handed = false;
    for (;;) {
        std::optional<Piece> piece = Pop(lane);
        if (!piece) {
            // The thread ended early: what it did not hand on is read here.
            if (!handed) return direct_.Unpack(type, name, sink);
            RethrowWorkerFailure(lane);
        }
        const bool mine = piece->entry == entry;  // earlier entries were skipped by the caller
        // A sink that stopped leaves the rest of its entry to be dropped here; one that throws
        // leaves it too, and the piece's block goes back all the same.
        if (mine && taking && piece->block.Held() && !piece->block.Bytes().empty()) {
            handed = true;
            taking = sink(piece->block.Bytes());
        }
        if (!mine) continue;
        if (piece->error) std::rethrow_exception(piece->error);
        if (piece->last) return taking;
    }
}

}  // namespace setup
