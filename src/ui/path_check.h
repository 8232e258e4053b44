// The check of the installation directory that page 2's next button runs: it normalises the text
// of EditDir, refuses what cannot be an installation directory with a hint, creates the directory
// level by level and, on success, gives the paths the installation works with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/settings.h"
#include "install/install_session.h"
#include "platform/file_system.h"

namespace setup {

// What the check needs of the window.
class PathCheckView {
public:
    virtual ~PathCheckView() = default;
    virtual std::string EditDirText() const = 0;
    virtual void SetEditDirText(const std::string& text) = 0;
    // Sets the text of the red hint label lblHintSystem and shows it.
    virtual void ShowHint(const std::string& text) = 0;
    virtual void HideHint() = 0;
    // The plain message box; returns when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
};

inline constexpr char kHintNeedDrive[] = "你必须输入一个带盘符的完整路径！例如：\r\nC:\\APP";
inline constexpr char kHintForbiddenChar[] = "路径中不能包含下任何字符之一：\r\n/ : * ? \" < > |";
inline constexpr char kMessageNoDirectory[] = "该目录不存在！";

// The hint for a drive without room for the payload: the space needed and the space free.
std::string NoSpaceHint(std::uint64_t needed, std::uint64_t free);

// Runs the check. Nothing on failure: the window stays on page 2 and the hint or the message has
// told the user why; directory levels created before the failure stay. needed is the bytes the
// payload takes once unpacked: a drive with less free space is refused before anything is made.
std::optional<InstallPaths> ValidateInstallPath(PathCheckView& view, FileSystem& files,
                                                const ProductStrings& strings,
                                                std::uint64_t needed = 0);

// Splits text at sep into list (cleared first; nothing happens without a list). A text that is
// blank after trimming gives no item; otherwise every piece is an item, empty ones included.
// Goes by characters of code page 936, so a second byte equal to sep never splits.
void SplitText(std::string_view text, char sep, std::vector<std::string>* list);

}  // namespace setup
