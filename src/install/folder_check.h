// The check of the installation folder, for page 2 and the unattended run alike: it normalises
// the text, refuses what cannot be an installation folder with the hint to show, creates the
// folder level by level (with a protected descriptor outside the system's own folders), makes
// sure files can be written there and, on success, gives the paths the installation works with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/settings.h"
#include "install/install_session.h"
#include "install/payload_footprint.h"
#include "platform/file_system.h"

namespace setup {

inline constexpr char kHintNeedDrive[] = "你必须输入一个带盘符的完整路径！例如：\r\nC:\\APP";
inline constexpr char kHintForbiddenChar[] = "路径中不能包含下任何字符之一：\r\n/ : * ? \" < > |";
inline constexpr char kHintCannotWrite[] = "该目录无法写入文件！\r\n请选择其他目录。";
inline constexpr char kMessageNoDirectory[] = "该目录不存在！";

// The hint for a drive without room for the payload: the space needed and the space free.
std::string NoSpaceHint(std::uint64_t needed, std::uint64_t free);

struct FolderCheckResult {
    std::string shown;                     // the folder's text as the edit shows it afterwards
    std::optional<InstallPaths> accepted;  // set when the folder is accepted
    std::string hint;     // refused: the text of the red hint label (empty: the label is hidden)
    std::string message;  // refused: the text of a message box
    bool no_space = false;  // refused because the drive has not enough room
    // The reason for a refusal, whichever way it is shown.
    const std::string& Refusal() const { return hint.empty() ? message : hint; }
};

// Checks typed as the installation folder. Folder levels created before a refusal stay. needed is
// what the payload takes: a volume with less free space is refused before anything is made.
FolderCheckResult CheckInstallFolder(FileSystem& files, const ProductStrings& strings,
                                     std::string_view typed, const PayloadFootprint& needed = {});

// Splits text at sep into list (cleared first; nothing happens without a list). A text that is
// blank after trimming gives no item; otherwise every piece is an item, empty ones included.
// Goes by characters of code page 936, so a second byte equal to sep never splits.
void SplitText(std::string_view text, char sep, std::vector<std::string>* list);

}  // namespace setup
