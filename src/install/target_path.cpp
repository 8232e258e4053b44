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
        if (format::TargetComponentProblem(component)) throw InvalidFileName(relative);
    }
    // The folders on the way are made; the file's own name is only appended.
    const std::string_view file_name = components.back();
    components.pop_back();
    std::string path = files.CreateLevels(std::string(install_dir), components);
    return path.append("\\").append(file_name);
}

}  // namespace setup
