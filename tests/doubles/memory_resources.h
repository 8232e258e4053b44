// In-memory resources for the native tests: the same reading rules as the executable's own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace setup {

class MemoryResources final : public Resources {
public:
    void SetString(unsigned id, std::string line) { strings_[id] = std::move(line); }
    void RemoveString(unsigned id) { strings_.erase(id); }
    void SetResource(std::string_view type, std::string_view name, std::vector<std::uint8_t> bytes);

    std::string LoadLine(unsigned id) const override;
    std::optional<Bytes> Find(std::string_view type, std::string_view name) const override;
    // In two chunks, so readers meet a chunk boundary.
    bool ReadThrough(std::string_view type, std::string_view name,
                     const ByteSink& sink) const override;

private:
    static std::string Key(std::string_view type, std::string_view name);

    std::map<unsigned, std::string> strings_;
    std::map<std::string, std::vector<std::uint8_t>> resources_;
};

}  // namespace setup
