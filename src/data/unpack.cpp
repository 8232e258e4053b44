#include "data/unpack.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "format/frame.h"
#include "platform/error.h"

namespace setup {

namespace {

using format::kMaxExpansion;
constexpr std::size_t kHeaderSize = format::kFrameHeaderSize;
// Chunks handed to the sink: large enough that writing them costs little per call.
constexpr std::size_t kChunkSize = 256 * 1024;

// Owns the inflater so it is released on every path.
class Inflater {
public:
    explicit Inflater(Bytes input) {
        stream_.next_in = const_cast<Bytef*>(input.data());
        stream_.avail_in = static_cast<uInt>(input.size());
        if (inflateInit(&stream_) != Z_OK) throw GenericError();
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Fills out completely; the stream must not end before.
    void ReadExactly(std::uint8_t* out, std::size_t size) {
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(size);
        while (stream_.avail_out > 0) {
            const int rc = inflate(&stream_, Z_NO_FLUSH);
            if (stream_.avail_out == 0) break;
            if (rc == Z_STREAM_END) throw StreamReadError();
            if (rc == Z_BUF_ERROR && stream_.avail_in == 0) throw StreamReadError();
            if (rc != Z_OK && rc != Z_BUF_ERROR) throw GenericError();
        }
    }

    // After the last byte only the trailer may follow: the stream must end with a good checksum.
    void ExpectEnd() {
        std::uint8_t extra;
        stream_.next_out = &extra;
        stream_.avail_out = 1;
        int rc = inflate(&stream_, Z_FINISH);
        if (rc == Z_STREAM_END && stream_.avail_out == 1) return;
        if (rc == Z_BUF_ERROR && stream_.avail_in == 0 && stream_.avail_out == 1)
            throw StreamReadError();
        throw GenericError();
    }

private:
    z_stream stream_{};
};

// The length, after the checks that need no inflating.
std::uint32_t CheckedLength(Bytes resource) {
    const std::optional<std::uint32_t> announced = format::FrameLength(resource);
    if (!announced) throw StreamReadError();
    const std::uint32_t length = *announced;
    if (length > (resource.size() - kHeaderSize) * kMaxExpansion) throw StreamReadError();
    return length;
}

}  // namespace

// The last chunk is held back until the trailer has been checked, so a consumer never takes
// a complete-looking file from a damaged stream.
bool UnpackResourceTo(Bytes resource, const ByteSink& sink) {
    const std::uint32_t length = CheckedLength(resource);
    Bytes stream = resource.subspan(kHeaderSize);
    // An empty file needs no stream; with one, its trailer is checked like any other.
    if (length == 0 && stream.empty()) return sink(Bytes());
    Inflater inflater(stream);
    std::vector<std::uint8_t> chunk(std::min<std::size_t>(length, kChunkSize));
    for (std::size_t left = length; left > 0;) {
        const std::size_t size = std::min(left, chunk.size());
        inflater.ReadExactly(chunk.data(), size);
        left -= size;
        if (left == 0) inflater.ExpectEnd();
        if (!sink(Bytes(chunk.data(), size))) return false;
    }
    if (length == 0) {
        inflater.ExpectEnd();
        return sink(Bytes());
    }
    return true;
}

std::vector<std::uint8_t> UnpackResource(Bytes resource) {
    const std::uint32_t length = CheckedLength(resource);
    std::vector<std::uint8_t> out;
    try {
        out.reserve(length);
    } catch (const std::bad_alloc&) {
        throw OutOfMemory();
    }
    UnpackResourceTo(resource, [&out](Bytes chunk) {
        out.insert(out.end(), chunk.begin(), chunk.end());
        return true;
    });
    return out;
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
