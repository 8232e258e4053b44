#include "data/unpack.h"

#include <algorithm>
#include <new>

#include "format/frame.h"
#include "platform/error.h"

namespace setup {

namespace {

// Chunks handed to the sink: large enough that writing them costs little per call.
constexpr std::size_t kChunkSize = 256 * 1024;

void Allocate(std::vector<std::uint8_t>& bytes, std::size_t size) {
    try {
        if (bytes.size() < size) bytes.resize(size);
    } catch (const std::bad_alloc&) {
        throw OutOfMemory();
    }
}

}  // namespace

FrameInflater::FrameInflater(const ByteSink& sink, std::optional<std::uint64_t> total_size,
                             InflateBuffer* reuse)
    : sink_(sink), total_size_(total_size), reuse_(reuse) {}

FrameInflater::~FrameInflater() {
    if (started_) inflateEnd(&stream_);
    if (took_reused_) reuse_->in_use_ = false;
}

// The header may come split over chunks; the length it gives is checked against what the
// resource can hold before anything is allocated.
bool FrameInflater::ReadHeader(Bytes& input) {
    while (header_bytes_ < format::kFrameHeaderSize && !input.empty()) {
        header_[header_bytes_++] = input.front();
        input = input.subspan(1);
    }
    if (header_bytes_ < format::kFrameHeaderSize) return false;
    length_ = *format::FrameLength(header_);
    if (total_size_ && length_ > (*total_size_ - format::kFrameHeaderSize) * format::kMaxExpansion)
        throw StreamReadError();
    const std::size_t size = std::min<std::size_t>(std::max<std::uint32_t>(length_, 1), kChunkSize);
    if (reuse_ && !reuse_->in_use_) {
        // Kept at the full chunk size, so that it is made once.
        Allocate(reuse_->bytes_, kChunkSize);
        reuse_->in_use_ = took_reused_ = true;
        buffer_ = std::span(reuse_->bytes_).first(size);
    } else {
        Allocate(own_buffer_, size);
        buffer_ = own_buffer_;
    }
    if (inflateInit(&stream_) != Z_OK) throw GenericError();
    started_ = true;
    return true;
}

// Hands on the full buffer; more than N bytes is damage.
bool FrameInflater::Emit() {
    produced_ += buffered_;
    if (produced_ > length_) throw GenericError();
    const std::size_t size = buffered_;
    buffered_ = 0;
    if (size > 0 && !sink_(Bytes(buffer_.data(), size))) stopped_ = true;
    return !stopped_;
}

// Inflates all the input there is. A full buffer goes on at once, except the one that completes
// the N bytes: it waits for Finish, after the trailer; while it waits, a one-byte probe takes the
// output, so a stream that gives more than N bytes is found.
bool FrameInflater::Inflate(int flush) {
    for (;;) {
        const bool holding_last = buffered_ == buffer_.size();
        std::uint8_t probe = 0;
        stream_.next_out = holding_last ? &probe : buffer_.data() + buffered_;
        stream_.avail_out = holding_last ? 1 : static_cast<uInt>(buffer_.size() - buffered_);
        const int rc = inflate(&stream_, flush);
        if (holding_last && stream_.avail_out == 0) throw GenericError();
        if (!holding_last) buffered_ = buffer_.size() - stream_.avail_out;
        if (rc == Z_STREAM_END)
            ended_ = true;
        else if (rc != Z_OK && rc != Z_BUF_ERROR)
            throw GenericError();
        if (produced_ + buffered_ > length_) throw GenericError();
        if (buffered_ == buffer_.size() && produced_ + buffered_ < length_) {
            if (!Emit()) return false;
            if (!ended_) continue;
        }
        if (ended_ || stream_.avail_in == 0 || rc == Z_BUF_ERROR) return true;
    }
}

bool FrameInflater::Feed(Bytes input) {
    if (stopped_) return false;
    if (!started_ && !ReadHeader(input)) return true;
    if (ended_ || input.empty()) return true;  // bytes after the stream are not looked at
    stream_.next_in = const_cast<Bytef*>(input.data());
    stream_.avail_in = static_cast<uInt>(input.size());
    return Inflate(Z_NO_FLUSH);
}

bool FrameInflater::Finish() {
    if (stopped_) return false;
    if (header_bytes_ < format::kFrameHeaderSize) throw StreamReadError();
    // An empty file needs no stream; with one, its trailer is checked like any other.
    if (length_ == 0 && stream_.total_in == 0 && !ended_) return sink_(Bytes());
    if (!ended_) {
        stream_.next_in = nullptr;
        stream_.avail_in = 0;
        if (!Inflate(Z_FINISH)) return false;
    }
    if (produced_ + buffered_ > length_) throw GenericError();
    if (!ended_ || produced_ + buffered_ < length_) throw StreamReadError();
    if (length_ == 0) return sink_(Bytes());
    return Emit();
}

bool UnpackResourceTo(Bytes resource, const ByteSink& sink) {
    FrameInflater inflater(sink, resource.size());
    return inflater.Feed(resource) && inflater.Finish();
}

std::vector<std::uint8_t> UnpackResource(Bytes resource) {
    std::vector<std::uint8_t> out;
    if (std::optional<std::uint32_t> length = format::FrameLength(resource)) {
        try {
            if (*length <= (resource.size() - format::kFrameHeaderSize) * format::kMaxExpansion)
                out.reserve(*length);
        } catch (const std::bad_alloc&) {
            throw OutOfMemory();
        }
    }
    UnpackResourceTo(resource, [&out](Bytes chunk) {
        out.insert(out.end(), chunk.begin(), chunk.end());
        return true;
    });
    return out;
}

bool UnpackNamedResourceTo(const Resources& resources, std::string_view type, std::string_view name,
                           const ByteSink& sink, InflateBuffer* reuse) {
    std::optional<Bytes> mapped = resources.Find(type, name);  // its size only: no page is read
    if (!mapped) throw ResourceNotFound(name);
    FrameInflater inflater(sink, mapped->size(), reuse);
    const bool read =
        resources.ReadThrough(type, name, [&](Bytes chunk) { return inflater.Feed(chunk); });
    if (inflater.Stopped()) return false;
    if (!read) throw StreamReadError();
    return inflater.Finish();
}

std::vector<std::uint8_t> UnpackNamedResource(const Resources& resources, std::string_view type,
                                              std::string_view name) {
    std::optional<Bytes> bytes = resources.Find(type, name);
    if (!bytes) throw ResourceNotFound(name);
    return UnpackResource(*bytes);
}

std::string TextUpToNul(Bytes bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace setup
