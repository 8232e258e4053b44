#include "doubles/memory_resources.h"

#include "platform/text.h"

namespace setup {

std::string MemoryResources::Key(std::string_view type, std::string_view name) {
    return text::AsciiUpper(type) + '\n' + text::AsciiUpper(name);
}

void MemoryResources::SetResource(std::string_view type, std::string_view name,
                                  std::vector<std::uint8_t> bytes) {
    resources_[Key(type, name)] = std::move(bytes);
}

std::string MemoryResources::LoadLine(unsigned id) const {
    auto it = strings_.find(id);
    if (it == strings_.end()) return {};
    std::string_view line = it->second;
    line = line.substr(0, line.find('\0'));
    return std::string(text::CutToBytes(line, kStringLineMax));
}

std::optional<Bytes> MemoryResources::Find(std::string_view type, std::string_view name) const {
    auto it = resources_.find(Key(type, name));
    if (it == resources_.end()) return std::nullopt;
    return Bytes(it->second);
}

bool MemoryResources::ReadThrough(std::string_view type, std::string_view name,
                                  const ByteSink& sink) const {
    std::optional<Bytes> bytes = Find(type, name);
    if (!bytes) return false;
    const std::size_t half = bytes->size() / 2;
    return sink(bytes->first(half)) && sink(bytes->subspan(half));
}

}  // namespace setup
