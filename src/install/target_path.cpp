#include "install/target_path.h"

#include <vector>

#include "format/target_path.h"
#include "platform/error.h"
#include "platform/text.h"

namespace setup {

std::string MakeTargetPath(FileSystem& files, std::string_view install_dir,
                           std::string_view relative) {
    std::vector<std::string_view> components = text::Split(relative, format::kPathSeparator);
    for (std::string_view& component : components) {
        component = text::Trim(component);
        if (format::TargetComponentProblem(component))
            throw RuntimeError("Invalid file name '" + std::string(relative) + "'");
    }
    std::string path(install_dir);
    for (std::size_t i = 0; i < components.size(); ++i) {
        path += '\\';
        path += components[i];
        if (i + 1 < components.size() && !files.DirectoryExists(path)) files.MakeDirectory(path);
    }
    return path;
}

}  // namespace setup
