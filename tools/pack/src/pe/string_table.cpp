#include "pe/string_table.h"

#include <array>

#include "pe/le_bytes.h"
#include "pe/utf16.h"

namespace pack::pe {

namespace {

using Block = std::array<std::u16string, kStringsPerBlock>;

// Bytes after the 16th string are padding some compilers add; they are ignored.
std::optional<Block> SplitBlock(std::string_view bytes) {
    Block block;
    std::size_t at = 0;
    for (std::u16string& text : block) {
        if (!Fits(at, 2, bytes.size())) return std::nullopt;
        const std::size_t length = Le16(bytes, at);
        at += 2;
        if (!Fits(at, length * 2, bytes.size())) return std::nullopt;
        for (std::size_t i = 0; i < length; ++i, at += 2)
            text += static_cast<char16_t>(Le16(bytes, at));
    }
    return block;
}

std::string JoinBlock(const Block& block) {
    std::string bytes;
    for (const std::u16string& text : block) {
        AppendLe(bytes, static_cast<std::uint32_t>(text.size()), 2);
        for (char16_t c : text) AppendLe(bytes, c, 2);
    }
    return bytes;
}

// The block of the set that holds id, split; a fresh one when there is none or it is unreadable
// (then it is replaced whole).
Block ExistingBlock(const ResourceSet& set, const ResourceKey& key) {
    auto found = set.find(key);
    if (found == set.end()) return {};
    std::optional<std::string_view> bytes = MemoryBytes(found->second.data);
    std::optional<Block> block = bytes ? SplitBlock(*bytes) : std::nullopt;
    return block ? *block : Block{};
}

}  // namespace

std::string AddStrings(ResourceSet& set, const std::map<unsigned, std::string>& texts,
                       std::uint16_t language) {
    std::map<ResourceKey, Block> blocks;
    for (const auto& [id, utf8] : texts) {
        const std::string which = "string " + std::to_string(id);
        if (id > 0xFFFF) return which + ": ids go up to 65535";
        std::optional<std::u16string> text = Utf8ToUtf16(utf8);
        if (!text) return which + ": not valid UTF-8";
        if (text->size() > 0xFFFF) return which + ": longer than 65535 UTF-16 code units";
        const auto block = static_cast<std::uint16_t>(id / kStringsPerBlock + 1);
        const ResourceKey key{ResId::Number(kRtString), ResId::Number(block), language};
        auto [it, fresh] = blocks.try_emplace(key);
        if (fresh) it->second = ExistingBlock(set, key);
        it->second[id % kStringsPerBlock] = std::move(*text);
    }
    for (auto& [key, block] : blocks) set[key] = {JoinBlock(block), 0};
    return {};
}

std::optional<std::vector<StringEntry>> DecodeStringBlock(std::uint16_t block,
                                                          std::string_view bytes) {
    std::optional<Block> split = SplitBlock(bytes);
    if (!split || block == 0) return std::nullopt;
    std::vector<StringEntry> entries;
    for (std::size_t i = 0; i < kStringsPerBlock; ++i)
        if (!(*split)[i].empty())
            entries.push_back({static_cast<unsigned>((block - 1) * kStringsPerBlock + i),
                               Utf16ToUtf8((*split)[i])});
    return entries;
}

std::optional<std::string> MergeStringBlocks(std::string_view base, std::string_view over) {
    std::optional<Block> merged = SplitBlock(base), top = SplitBlock(over);
    if (!merged || !top) return std::nullopt;
    for (std::size_t i = 0; i < kStringsPerBlock; ++i)
        if (!(*top)[i].empty()) (*merged)[i] = std::move((*top)[i]);
    return JoinBlock(*merged);
}

}  // namespace pack::pe
