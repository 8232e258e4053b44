// Framed resources (format/frame.h): a 4-byte little-endian length N, then one zlib stream that
// inflates to N bytes. Every payload file, the skin atlas and the licence text are stored this way.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/resource_ids.h"
#include "platform/resources.h"

namespace setup {

using format::kLicenceResourceName;
using format::kLicenceResourceType;
using format::kSkinResourceName;
using format::kSkinResourceType;

// An inflater's output buffer, kept by whoever unpacks entry after entry on one thread: fresh
// memory for every entry cost more than the inflating. One inflater uses it at a time; another one
// meanwhile takes its own. The owner decides how long it lives: no thread_local object, whose
// destructor MinGW-w64 runs after it has already freed the thread's storage (a heap fault as the
// read-ahead thread ended).
class InflateBuffer {
public:
    InflateBuffer() = default;
    InflateBuffer(const InflateBuffer&) = delete;
    InflateBuffer& operator=(const InflateBuffer&) = delete;

private:
    friend class FrameInflater;
    std::vector<std::uint8_t> bytes_;
    bool in_use_ = false;
};

// Inflates one framed resource that arrives in chunks of any size, and hands its N bytes to a sink
// in chunks, so neither the resource nor the file is ever needed whole in memory. The stream's
// Adler-32 trailer must follow the N bytes, and the last chunk is handed on only once it has been
// checked: a damaged entry is an error, never a silently wrong file. Errors (RuntimeError): a
// resource shorter than 4 bytes, a stream that ends early, or an N that total_size bytes cannot
// possibly give: "Stream read error"; damaged data or trailer, or more data than N: "Error".
class FrameInflater {
public:
    // total_size, when known, is the whole resource's size, for the check of N; reuse, when given
    // and free, is the output buffer.
    explicit FrameInflater(const ByteSink& sink, std::optional<std::uint64_t> total_size = {},
                           InflateBuffer* reuse = nullptr);
    // The sink is kept by reference: a temporary one (a lambda given directly) would be gone
    // before the first chunk.
    FrameInflater(ByteSink&& sink, std::optional<std::uint64_t> total_size = {},
                  InflateBuffer* reuse = nullptr) = delete;
    ~FrameInflater();
    FrameInflater(const FrameInflater&) = delete;
    FrameInflater& operator=(const FrameInflater&) = delete;

    // The next chunk of the resource. False when the sink stopped the unpacking.
    bool Feed(Bytes input);
    // After the last chunk: checks the length and the trailer and hands on the last output.
    // False when the sink stopped the unpacking.
    bool Finish();
    bool Stopped() const { return stopped_; }

private:
    bool ReadHeader(Bytes& input);
    bool Inflate(int flush);
    bool Emit();

    const ByteSink& sink_;
    std::optional<std::uint64_t> total_size_;
    z_stream stream_{};
    bool started_ = false, ended_ = false, stopped_ = false;
    std::uint8_t header_[4] = {};
    std::size_t header_bytes_ = 0;
    std::uint32_t length_ = 0;
    std::uint64_t produced_ = 0;
    std::span<std::uint8_t> buffer_;
    InflateBuffer* reuse_;
    std::vector<std::uint8_t> own_buffer_;  // without a free buffer to reuse
    bool took_reused_ = false;
    std::size_t buffered_ = 0;
};

// A framed resource held in memory, unpacked to sink. False when the sink stopped it.
bool UnpackResourceTo(Bytes resource, const ByteSink& sink);

// The same into one block of exactly N bytes; no memory for it: "Out of memory".
std::vector<std::uint8_t> UnpackResource(Bytes resource);

// Reads the resource of the given type and name through the executable's file and unpacks it to
// sink; a missing one throws "Resource <name> not found". False when the sink stopped it. reuse as
// for FrameInflater.
bool UnpackNamedResourceTo(const Resources& resources, std::string_view type, std::string_view name,
                           const ByteSink& sink, InflateBuffer* reuse = nullptr);

// The same into one block.
std::vector<std::uint8_t> UnpackNamedResource(const Resources& resources, std::string_view type,
                                              std::string_view name);

// The bytes up to the first NUL, or all of them: how the licence text is taken.
std::string TextUpToNul(Bytes bytes);

}  // namespace setup
