#include "pe/resource_set.h"

#include "pe/utf16.h"

namespace pack::pe {

std::optional<ResId> NameId(std::string_view utf8) {
    std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text) return std::nullopt;
    for (char16_t& c : *text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return ResId::Name(std::move(*text));
}

std::string IdText(const ResId& id) {
    if (!id.is_name) return std::to_string(id.number);
    std::string text = "\"";
    text += Utf16ToUtf8(id.name);
    return text += '"';
}

std::string KeyText(const ResourceKey& key) {
    return "type " + IdText(key.type) + ", name " + IdText(key.name) + ", language " +
           std::to_string(key.language);
}

std::uint64_t DataSize(const ResourceData& data) {
    if (const auto* file = std::get_if<FileData>(&data)) return file->size;
    return MemoryBytes(data)->size();
}

std::optional<std::string_view> MemoryBytes(const ResourceData& data) {
    if (const auto* owned = std::get_if<std::string>(&data)) return *owned;
    if (const auto* view = std::get_if<std::string_view>(&data)) return *view;
    return std::nullopt;
}

bool AddNamed(ResourceSet& set, std::string_view type, std::string_view name,
              std::uint16_t language, ResourceData data) {
    auto usable = [](std::string_view text) { return !text.empty() && text[0] != '#'; };
    if (!usable(type) || !usable(name)) return false;
    std::optional<ResId> type_id = NameId(type), name_id = NameId(name);
    if (!type_id || !name_id) return false;
    set[{std::move(*type_id), std::move(*name_id), language}] = {std::move(data), 0};
    return true;
}

}  // namespace pack::pe
