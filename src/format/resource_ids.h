// What setup-pack writes into the installer and the installer reads back: the string-table ids of
// the settings and of the payload file list, and the types and names of the custom resources.
// Both sides include this header; nothing else spells these out.
#pragma once

#include <cstddef>
#include <string>

namespace setup::format {

// The string table, in language 2052 (Chinese, PRC).
inline constexpr unsigned short kStringTableLanguage = 0x0804;

// Settings: 23 "key=value" lines; the first 11 are the skin rectangles, the rest the product's
// names. The id alone decides which setting a line fills.
inline constexpr unsigned kFirstSettingId = 1001;
inline constexpr unsigned kLastRectSettingId = 1011;
inline constexpr unsigned kLastSettingId = 1023;
inline constexpr int kSettingCount = 23;
inline constexpr int kRectSettingCount = 11;

// The product's names after the rectangles, in id order: Company is id 1012.
enum class ProductSetting {
    Company, SoftSysName, MainExeName, UninstallName, SoftYear, SoftVersion,
    SoftSvrName, SvrExeName, SoftTrialName, SoftTrialExeName, SoftForFreeName, SoftForFreeExeName,
};
inline constexpr int kProductSettingCount = 12;
static_assert(kRectSettingCount + kProductSettingCount == kSettingCount);
constexpr unsigned ProductSettingId(ProductSetting setting) {
    return kLastRectSettingId + 1 + static_cast<unsigned>(setting);
}

// The payload file list: one relative target path per id, "*" standing for "\" in the table.
inline constexpr unsigned kFirstFileListId = 2000;
inline constexpr unsigned kLastFileListId = 9999;
inline constexpr std::size_t kMaxPayloadFiles = kLastFileListId - kFirstFileListId + 1;
inline constexpr char kFileListSeparator = '*';

// Entry i of the list is the resource of type "Myres" and name "MyFile", each followed by i
// padded with "0" to four digits.
std::string PayloadResourceType(int index);
std::string PayloadResourceName(int index);

// The skin atlas, the licence text and the checksums of every framed resource.
inline constexpr char kSkinResourceType[] = "MyRes1";
inline constexpr char kSkinResourceName[] = "MainBmp";
inline constexpr char kLicenceResourceType[] = "MyRes2";
inline constexpr char kLicenceResourceName[] = "MainRect";
inline constexpr char kChecksumResourceType[] = "MyRes3";
inline constexpr char kChecksumResourceName[] = "MainSum";

}  // namespace setup::format
