#include "install/target_path.h"

#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace setup {

// "/" is a separator to the platform as much as "\", and ":" names a drive or a stream; a name of
// dots only is "." or ".." to the platform once it drops trailing dots.
static bool SafeComponent(std::string_view name) {
    if (name.empty() || name.find_first_not_of('.') == std::string_view::npos) return false;
    return text::FindChar(name, ':') == std::string_view::npos &&
           text::FindChar(name, '/') == std::string_view::npos;
}

std::string MakeTargetPath(FileSystem& files, std::string_view install_dir,
                           std::string_view relative) {
    std::vector<std::string_view> components = text::Split(relative, '\\');
    for (std::string_view& component : components) {
        component = text::Trim(component);
        if (!SafeComponent(component))
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
