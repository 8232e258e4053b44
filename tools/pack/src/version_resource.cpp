#include "version_resource.h"

#include <cctype>
#include <optional>
#include <utility>

#include "format/resource_ids.h"
#include "format/settings_syntax.h"
#include "pe/le_bytes.h"
#include "pe/utf16.h"

namespace format = setup::format;

namespace pack {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kOsNtWindows32 = 0x00040004;  // VOS_NT_WINDOWS32
constexpr std::uint32_t kFileTypeApp = 1;             // VFT_APP
constexpr std::uint32_t kFileFlagsMask = 0x3F;        // VS_FFI_FILEFLAGSMASK
constexpr std::uint16_t kUnicodeCodePage = 1200;      // the strings are UTF-16
constexpr char kSetupWords[] = " 安装程序";           // "setup program", after the product name

void Align4(std::string& bytes) {
    bytes.append((4 - bytes.size() % 4) % 4, '\0');
}

void PutUtf16z(std::string& bytes, const std::u16string& text) {
    for (char16_t unit : text) pe::AppendLe(bytes, unit, 2);
    pe::AppendLe(bytes, 0, 2);
}

// One node of the tree: wLength, wValueLength, wType, its key, the value, then its children,
// each part starting on a 4-byte boundary. value_length counts bytes for binary values and
// UTF-16 units (with the terminator) for text.
std::string Node(const std::u16string& key, std::string value, std::uint16_t value_length,
                 bool text, const std::string& children = {}) {
    std::string node(6, '\0');
    PutUtf16z(node, key);
    Align4(node);
    node += value;
    Align4(node);
    node += children;
    pe::PutLe16(node, 0, static_cast<std::uint16_t>(node.size()));
    pe::PutLe16(node, 2, value_length);
    pe::PutLe16(node, 4, text ? 1 : 0);
    return node;
}

std::string StringNode(const std::u16string& key, const std::u16string& value) {
    std::string bytes;
    PutUtf16z(bytes, value);
    return Node(key, bytes, static_cast<std::uint16_t>(value.size() + 1), true);
}

std::string FixedInfo(const VersionNumber& v) {
    std::string info;
    pe::AppendLe(info, kFixedSignature, 4);
    pe::AppendLe(info, kFixedStructVersion, 4);
    const std::uint32_t high = v.part[0] << 16 | v.part[1], low = v.part[2] << 16 | v.part[3];
    for (int twice = 0; twice < 2; ++twice) {  // file version, then product version
        pe::AppendLe(info, high, 4);
        pe::AppendLe(info, low, 4);
    }
    pe::AppendLe(info, kFileFlagsMask, 4);
    pe::AppendLe(info, 0, 4);  // no flags: a release build
    pe::AppendLe(info, kOsNtWindows32, 4);
    pe::AppendLe(info, kFileTypeApp, 4);
    pe::AppendLe(info, 0, 4);  // subtype
    pe::AppendLe(info, 0, 4);  // date, high
    pe::AppendLe(info, 0, 4);  // date, low
    return info;
}

std::string Setting(const std::vector<std::string>& lines, format::ProductSetting which) {
    const std::size_t index = format::ProductSettingId(which) - format::kFirstSettingId;
    if (index >= lines.size()) return {};
    return format::SettingValue(lines[index]).value_or("");
}

}  // namespace

VersionTexts VersionTextsFromSettings(const std::vector<std::string>& lines,
                                      std::string file_name) {
    using format::ProductSetting;
    return {Setting(lines, ProductSetting::Company), Setting(lines, ProductSetting::SoftSysName),
            Setting(lines, ProductSetting::SoftVersion), Setting(lines, ProductSetting::SoftYear),
            std::move(file_name)};
}

VersionNumber ParseVersionNumber(const std::string& text) {
    VersionNumber number;
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) break;
        unsigned value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
               value <= 65535)
            value = value * 10 + static_cast<unsigned>(text[at++] - '0');
        if (value > 65535) break;
        number.part[part] = value;
        if (at >= text.size() || text[at] != '.') break;
        ++at;
    }
    return number;
}

std::optional<std::string> VersionResource(const VersionTexts& texts) {
    std::string copyright = "© ";
    if (!texts.year.empty()) copyright += texts.year + " ";
    copyright += texts.company;
    const std::pair<const char16_t*, std::string> fields[] = {
        {u"CompanyName", texts.company},
        {u"FileDescription", texts.product + kSetupWords},
        {u"FileVersion", texts.version},
        {u"InternalName", texts.file_name},
        {u"LegalCopyright", copyright},
        {u"OriginalFilename", texts.file_name},
        {u"ProductName", texts.product},
        {u"ProductVersion", texts.version},
    };
    std::string strings;
    for (const auto& [key, value] : fields) {
        const std::optional<std::u16string> utf16 = pe::Utf8ToUtf16(value);
        if (!utf16) return std::nullopt;
        strings += StringNode(key, *utf16);
    }
    // The block's name is the language and the code page in hexadecimal: 0804 and 04b0.
    const std::string table = Node(u"080404b0", {}, 0, true, strings);
    const std::string string_info = Node(u"StringFileInfo", {}, 0, true, table);
    std::string translation;
    pe::AppendLe(translation, format::kStringTableLanguage, 2);
    pe::AppendLe(translation, kUnicodeCodePage, 2);
    const std::string var = Node(u"Translation", translation, 4, false);
    const std::string var_info = Node(u"VarFileInfo", {}, 0, true, var);
    return Node(u"VS_VERSION_INFO", FixedInfo(ParseVersionNumber(texts.version)), 52, false,
                string_info + var_info);
}

}  // namespace pack
