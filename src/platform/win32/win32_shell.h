// The shell through its Win32 interfaces: the shell link object (IShellLinkA + IPersistFile) on
// the calling thread's COM apartment, which the program initialises; special folders; ShellExecute.
#pragma once

#include "platform/shell.h"

namespace setup {

class Win32Shell final : public Shell {
public:
    Result WriteShellLink(const ShellLinkProperties& link, const std::string& link_path) override;
    std::optional<std::string> SpecialFolder(int csidl, WindowHandle owner) const override;
    Result Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                   std::string_view parameters, std::string_view directory, int show) override;
    std::string SystemDirectory() const override;
    std::string LocalDate() const override;
};

// Loads a link file back through the shell link object; nothing when it cannot be loaded.
// The target is the raw path as stored.
std::optional<ShellLinkProperties> ReadShellLink(const std::string& link_path);

}  // namespace setup
