#include "frame.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace pack {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class Deflater {
public:
    Deflater() { ok_ = deflateInit(&stream_, setup::format::kFrameLevel) == Z_OK; }
    ~Deflater() {
        if (ok_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    bool ok() const { return ok_; }

    // Compresses input and hands every piece of output to sink; finish ends the stream.
    template <typename Sink>
    bool Feed(const void* input, std::size_t size, bool finish, Sink&& sink) {
        stream_.next_in = static_cast<Bytef*>(const_cast<void*>(input));
        stream_.avail_in = static_cast<uInt>(size);
        unsigned char* out = out_.data();
        int rc;
        do {
            stream_.next_out = out;
            stream_.avail_out = static_cast<uInt>(out_.size());
            rc = deflate(&stream_, finish ? Z_FINISH : Z_NO_FLUSH);
            if (rc == Z_STREAM_ERROR) return false;
            if (!sink(out, out_.size() - stream_.avail_out)) return false;
        } while (stream_.avail_out == 0 || (finish && rc != Z_STREAM_END));
        return true;
    }

private:
    z_stream stream_{};
    bool ok_ = false;
    std::vector<unsigned char> out_ = std::vector<unsigned char>(kChunk);
};

std::string ErrnoText(const char* what, const fs::path& path) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

bool FrameFile(const fs::path& source, std::uint64_t expected_size, const fs::path& dest,
               std::atomic<std::uint64_t>* progress, std::string& error) {
    File in(std::fopen(source.c_str(), "rb"));
    if (!in) return error = ErrnoText("cannot open", source), false;
    const fs::path temp = dest.string() + ".tmp";
    File out(std::fopen(temp.c_str(), "wb"));
    if (!out) return error = ErrnoText("cannot create", temp), false;

    auto write = [&](const void* p, std::size_t n) {
        return n == 0 || std::fwrite(p, 1, n, out.get()) == n;
    };
    unsigned char length[setup::format::kFrameHeaderSize];
    setup::format::PutFrameLength(length, static_cast<std::uint32_t>(expected_size));
    Deflater deflater;
    bool ok = deflater.ok() && write(length, sizeof length);
    std::vector<unsigned char> buffer(kChunk);
    std::uint64_t total = 0;
    while (ok) {
        std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (std::ferror(in.get())) {
            error = ErrnoText("cannot read", source);
            ok = false;
            break;
        }
        total += got;
        if (progress) *progress += got;
        const bool last = got < buffer.size();
        if (!deflater.Feed(buffer.data(), got, last, write)) {
            error = ErrnoText("cannot write", temp);
            ok = false;
        }
        if (last) break;
    }
    if (ok && total != expected_size) {
        error = source.string() + " changed while it was packed (" + std::to_string(total) +
                " bytes instead of " + std::to_string(expected_size) + ")";
        ok = false;
    }
    if (ok && std::fflush(out.get()) != 0) ok = false, error = ErrnoText("cannot write", temp);
    // A full disk or a network share may report the failure only when the file is closed.
    if (std::fclose(out.release()) != 0 && ok) ok = false, error = ErrnoText("cannot write", temp);
    std::error_code ec;
    if (ok) {
        fs::rename(temp, dest, ec);
        if (ec) error = "cannot rename " + temp.string() + ": " + ec.message();
        ok = !ec;
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace pack
