// String tables as LoadString reads them: 16 strings to an RT_STRING resource, the block named
// id / 16 + 1 holding ids (block - 1) * 16 to (block - 1) * 16 + 15. Each string is a 16-bit
// length in UTF-16 code units followed by those units, without a terminator; an absent string has
// length 0, so an empty string and a missing one read the same.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pe/resource_set.h"

namespace pack::pe {

constexpr std::size_t kStringsPerBlock = 16;

// Puts the UTF-8 texts (by id) into the set's string blocks of the language. A block already in
// the set keeps its other strings; a text given here replaces the one with its id. Returns a
// problem text (bad UTF-8, an id above 65535, a text over 65535 code units), then the set is
// unchanged; empty on success.
std::string AddStrings(ResourceSet& set, const std::map<unsigned, std::string>& texts,
                       std::uint16_t language);

struct StringEntry {
    unsigned id = 0;
    std::string text;  // UTF-8
};

// The non-empty strings of one block, by id. Nothing when the block is cut short.
std::optional<std::vector<StringEntry>> DecodeStringBlock(std::uint16_t block,
                                                          std::string_view bytes);

// A block holding over's non-empty strings and base's others. Nothing when either is cut short.
std::optional<std::string> MergeStringBlocks(std::string_view base, std::string_view over);

}  // namespace pack::pe
