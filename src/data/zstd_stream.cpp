#include <zstd.h>

#include "data/stream_decoder.h"
#include "platform/error.h"

namespace setup {

namespace {

class ZstdDecoder final : public StreamDecoder {
public:
    ZstdDecoder() : stream_(ZSTD_createDStream()) {
        if (!stream_) throw OutOfMemory();
        ZSTD_DCtx_setParameter(stream_, ZSTD_d_windowLogMax, format::kZstdWindowLog);
    }
    ~ZstdDecoder() override { ZSTD_freeDStream(stream_); }
    ZstdDecoder(const ZstdDecoder&) = delete;
    ZstdDecoder& operator=(const ZstdDecoder&) = delete;

    Step Decode(Bytes input, std::span<std::uint8_t> out) override {
        ZSTD_inBuffer in{input.data(), input.size(), 0};
        ZSTD_outBuffer o{out.data(), out.size(), 0};
        const std::size_t rc = ZSTD_decompressStream(stream_, &o, &in);
        if (ZSTD_isError(rc)) throw GenericError();
        return {in.pos, o.pos, rc == 0};
    }

private:
    ZSTD_DStream* stream_;
};

}  // namespace

std::unique_ptr<StreamDecoder> MakeZstdDecoder() {
    return std::make_unique<ZstdDecoder>();
}

std::unique_ptr<StreamDecoder> MakeStreamDecoder(format::SolidCodec codec,
                                                 const format::SolidBlock& block) {
    if (codec == format::SolidCodec::Lzma) return MakeLzmaDecoder(block.unpacked);
    return MakeZstdDecoder();
}

}  // namespace setup
