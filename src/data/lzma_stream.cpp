#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" {
#include "LzmaDec.h"
}

#include "data/stream_decoder.h"
#include "format/little_endian.h"
#include "platform/error.h"

namespace setup {

namespace {

void* Allocate(void*, std::size_t size) {
    return std::malloc(size);
}
void Release(void*, void* address) {
    std::free(address);
}
ISzAlloc kAllocator{Allocate, Release};

// Waits for the 13 bytes of the .lzma header, then decodes with a dictionary no larger than the
// block: a match never reaches further back than the block's start.
class LzmaDecoder final : public StreamDecoder {
public:
    explicit LzmaDecoder(std::uint32_t unpacked) : left_(unpacked) { LzmaDec_Construct(&state_); }
    ~LzmaDecoder() override { LzmaDec_Free(&state_, &kAllocator); }
    LzmaDecoder(const LzmaDecoder&) = delete;
    LzmaDecoder& operator=(const LzmaDecoder&) = delete;

    Step Decode(Bytes input, std::span<std::uint8_t> out) override {
        Step step;
        if (header_at_ < format::kLzmaHeaderSize) {
            step.consumed = std::min(input.size(), format::kLzmaHeaderSize - header_at_);
            if (step.consumed > 0) std::memcpy(header_ + header_at_, input.data(), step.consumed);
            header_at_ += step.consumed;
            if (header_at_ < format::kLzmaHeaderSize) return step;
            Start();
            input = input.subspan(step.consumed);
        }
        static const std::uint8_t kNothing = 0;  // the decoder is never handed a null buffer
        const std::uint8_t* in = input.empty() ? &kNothing : input.data();
        SizeT in_size = input.size();
        SizeT out_size = std::min<std::size_t>(out.size(), left_);
        // Once all the block's bytes are out, what follows must be the end marker.
        const ELzmaFinishMode mode = out_size == left_ ? LZMA_FINISH_END : LZMA_FINISH_ANY;
        ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
        if (LzmaDec_DecodeToBuf(&state_, out.data(), &out_size, in, &in_size, mode, &status) !=
            SZ_OK)
            throw GenericError();
        left_ -= static_cast<std::uint32_t>(out_size);
        step.consumed += in_size;
        step.produced = out_size;
        step.ended = status == LZMA_STATUS_FINISHED_WITH_MARK;
        if (step.ended && left_ != 0) throw GenericError();
        return step;
    }

private:
    void Start() {
        const Bytes header(header_, sizeof header_);
        std::uint32_t dictionary = format::Le32At(header, 1);
        const std::uint64_t size =
            format::Le32At(header, 5) | std::uint64_t{format::Le32At(header, 9)} << 32;
        if (dictionary > format::kLzmaDictionary || (size != ~0ull && size != left_))
            throw GenericError();
        std::uint8_t trimmed[LZMA_PROPS_SIZE];
        std::memcpy(trimmed, header_, LZMA_PROPS_SIZE);
        dictionary = std::max<std::uint32_t>(std::min(dictionary, left_), 4096);
        for (int i = 0; i < 4; ++i)
            trimmed[1 + i] = static_cast<std::uint8_t>(dictionary >> (8 * i));
        const SRes rc = LzmaDec_Allocate(&state_, trimmed, LZMA_PROPS_SIZE, &kAllocator);
        if (rc == SZ_ERROR_MEM) throw OutOfMemory();
        if (rc != SZ_OK) throw GenericError();
        LzmaDec_Init(&state_);
    }

    CLzmaDec state_;
    std::uint8_t header_[format::kLzmaHeaderSize] = {};
    std::size_t header_at_ = 0;
    std::uint32_t left_;
};

}  // namespace

std::unique_ptr<StreamDecoder> MakeLzmaDecoder(std::uint32_t unpacked) {
    return std::make_unique<LzmaDecoder>(unpacked);
}

}  // namespace setup
