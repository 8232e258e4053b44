#include "doubles/memory_shell.h"

#include "platform/error.h"

namespace setup {

Result MemoryShell::WriteShellLink(const ShellLinkProperties& link, const std::string& link_path) {
    if (link_object_broken_) throw RuntimeError(ErrorKind::Shell, "Class not registered");
    // A link file holds its properties; the bytes here only need to exist.
    if (Result written = files_.WriteFileBytes(link_path, {}); !written) return written;
    links_.push_back({link_path, link});
    return Result::Ok();
}

std::optional<std::string> MemoryShell::SpecialFolder(int csidl, WindowHandle) const {
    auto it = folders_.find(csidl);
    if (it == folders_.end()) return std::nullopt;
    return it->second;
}

Result MemoryShell::Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                            std::string_view parameters, std::string_view directory, int show) {
    starts_.push_back({owner, std::string(verb), std::string(file), std::string(parameters),
                       std::string(directory), show});
    constexpr std::uint32_t kFileNotFound = 2;
    return files_.FileExists(std::string(file)) ? Result::Ok() : Result::Failed(kFileNotFound);
}

}  // namespace setup
