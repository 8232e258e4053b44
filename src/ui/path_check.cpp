#include "ui/path_check.h"

namespace setup {

std::optional<InstallPaths> ValidateInstallPath(PathCheckView& view, FileSystem& files,
                                                const ProductStrings& strings,
                                                const PayloadFootprint& needed) {
    const std::string typed = view.EditDirText();
    const FolderCheckResult checked = CheckInstallFolder(files, strings, typed, needed);
    if (checked.shown != typed) view.SetEditDirText(checked.shown);
    if (checked.hint.empty())
        view.HideHint();
    else
        view.ShowHint(checked.hint);
    if (!checked.message.empty()) view.ShowMessage(checked.message);
    return checked.accepted;
}

}  // namespace setup
