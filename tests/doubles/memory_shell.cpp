#include "doubles/memory_shell.h"

#include "platform/error.h"

namespace setup {

bool MemoryShell::WriteShellLink(const ShellLinkProperties& link, const std::string& link_path) {
    if (link_object_broken_) throw RuntimeError("Class not registered");
    // A link file holds its properties; the bytes here only need to exist.
    if (!files_.WriteFileBytes(link_path, {})) return false;
    links_.push_back({link_path, link});
    return true;
}

std::optional<std::string> MemoryShell::SpecialFolder(int csidl, WindowHandle) const {
    auto it = folders_.find(csidl);
    if (it == folders_.end()) return std::nullopt;
    return it->second;
}

bool MemoryShell::Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, int show) {
    starts_.push_back({owner, std::string(verb), std::string(file), std::string(parameters),
                       std::string(directory), show});
    return files_.FileExists(std::string(file));
}

}  // namespace setup
