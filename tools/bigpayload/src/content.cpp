#include "content.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace bigpayload {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

enum class Block { Random, Repeat, Records, Text, Gradient };

// Shares of each block type per kind of file (random, repeat, records, text, gradient).
struct Mix {
    double share[5];
};

Mix MixOf(Kind kind) {
    switch (kind) {
        case Kind::Program:
            return {{0.125, 0.355, 0.52, 0.00, 0.00}};
        case Kind::Help:
            return {{0.70, 0.00, 0.00, 0.30, 0.00}};
        case Kind::Database:
            return {{0.08, 0.50, 0.42, 0.00, 0.00}};
        case Kind::Text:
            return {{0.00, 0.00, 0.00, 1.00, 0.00}};
        case Kind::Image:
            return {{0.95, 0.05, 0.00, 0.00, 0.00}};
        case Kind::Bitmap:
            return {{0.00, 0.00, 0.00, 0.00, 1.00}};
    }
    return {{1, 0, 0, 0, 0}};
}

std::string_view HeaderOf(const FileSpec& spec) {
    using namespace std::string_view_literals;
    if (spec.path.ends_with(".png")) return "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"sv;
    if (spec.path.ends_with(".jpg")) return "\xFF\xD8\xFF\xE0\0\x10JFIF\0"sv;
    if (spec.path.ends_with(".bmp")) return "BM"sv;
    if (spec.path.ends_with(".mdb")) return "\0\x01\0\0Standard Jet DB\0"sv;
    if (spec.path.ends_with(".chm")) return "ITSF\x03\0\0\0"sv;
    if (spec.kind == Kind::Program) return "MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF\0\0"sv;
    return {};
}

Block Pick(const Mix& mix, Random& random) {
    double roll = random.Unit();
    for (int i = 0; i < 5; ++i) {
        if (roll < mix.share[i]) return static_cast<Block>(i);
        roll -= mix.share[i];
    }
    return Block::Random;
}

// A fixed vocabulary of 8-byte "instructions" and "fields": records pick from it with a random
// byte between picks, which compresses to about a third.
const std::array<std::array<char, 8>, 256>& Vocabulary() {
    static const auto words = [] {
        std::array<std::array<char, 8>, 256> w{};
        Random random(936);
        for (auto& word : w)
            for (char& c : word) c = static_cast<char>(random.Next());
        return w;
    }();
    return words;
}

void FillRecords(char* out, std::size_t size, Random& random) {
    const auto& words = Vocabulary();
    for (std::size_t i = 0; i < size;) {
        const auto& word = words[random.Below(64) + (random.Below(4) == 0 ? random.Below(192) : 0)];
        for (std::size_t k = 0; k < word.size() && i < size; ++k) out[i++] = word[k];
        if (i < size) out[i++] = static_cast<char>(random.Below(16));
    }
}

void FillText(char* out, std::size_t size, Random& random) {
    static constexpr std::string_view kWords[] = {
        "销售", "采购",  "库存",  "客户", "供应商", "单据", "金额", "数量", "单价", "仓库",
        "Item", "Price", "Total", "Qty",  "Code",   "Name", "=",    ",",    " ",    "[Report]"};
    std::size_t i = 0;
    while (i < size) {
        std::string line = "2024-01-" + std::to_string(1 + random.Below(28)) + " ";
        line += std::to_string(random.Below(100000));
        for (int w = 0, n = 3 + random.Below(6); w < n; ++w)
            line += kWords[random.Below(std::size(kWords))];
        line += "\r\n";
        const std::size_t n = std::min(line.size(), size - i);
        std::copy_n(line.data(), n, out + i);
        i += n;
    }
}

void FillGradient(char* out, std::size_t size, std::uint64_t offset, Random& random) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint64_t at = offset + i;
        const int noise = random.Below(8) == 0 ? static_cast<int>(random.Below(3)) : 0;
        out[i] = static_cast<char>((at / 3 % 256) / 2 + (at / 2400) % 64 + noise);
    }
}

void FillBlock(Block type, char* out, std::size_t size, std::uint64_t offset, Random& random) {
    switch (type) {
        case Block::Random:
            for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(random.Next());
            break;
        case Block::Repeat: {
            // Zero pages and tables of one repeated entry.
            char pattern[32];
            const std::size_t length = random.Below(2) ? 1 + random.Below(32) : 1;
            for (std::size_t k = 0; k < length; ++k)
                pattern[k] = length == 1 ? 0 : static_cast<char>(random.Next());
            for (std::size_t i = 0; i < size; ++i) out[i] = pattern[i % length];
            break;
        }
        case Block::Records:
            FillRecords(out, size, random);
            break;
        case Block::Text:
            FillText(out, size, random);
            break;
        case Block::Gradient:
            FillGradient(out, size, offset, random);
            break;
    }
}

}  // namespace

void WriteContent(std::ostream& out, const FileSpec& spec, Random& random) {
    const Mix mix = MixOf(spec.kind);
    std::string block(kBlock, '\0');
    const std::string_view header = HeaderOf(spec);
    for (std::uint64_t offset = 0; offset < spec.size; offset += kBlock) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, spec.size - offset));
        FillBlock(Pick(mix, random), block.data(), size, offset, random);
        if (offset == 0) std::copy_n(header.data(), std::min(header.size(), size), block.data());
        out.write(block.data(), static_cast<std::streamsize>(size));
    }
}

}  // namespace bigpayload
