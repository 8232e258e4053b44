// Page 2's side of the folder check (install/folder_check.h): the text of EditDir goes in, and
// what comes back is shown in the window, the edit's text, the red hint or a message box.
#pragma once

#include <optional>
#include <string>

#include "install/folder_check.h"

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

// Runs the check on EditDir and shows its outcome. Nothing on failure: the window stays on page 2
// and the hint or the message has told the user why.
std::optional<InstallPaths> ValidateInstallPath(PathCheckView& view, FileSystem& files,
                                                const ProductStrings& strings,
                                                const PayloadFootprint& needed = {});

}  // namespace setup
