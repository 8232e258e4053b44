// The shell: link files, special folders by their CSIDL number, starting programs, the system
// directory and the local date.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/window_handle.h"

namespace setup {

// CSIDL numbers of the folders the installer looks up.
enum ShellFolder : int {
    kFolderPrograms = 0x02,
    kFolderFavorites = 0x06,
    kFolderDesktopDirectory = 0x10,
    kFolderAppData = 0x1A,
};

// The show mode of a started program's window (SW_SHOWNORMAL).
constexpr int kShowNormal = 1;

// What a link file carries. Empty arguments and description are written as empty; an empty
// icon path leaves the icon unset, so the shell shows the target's own icon.
struct ShellLinkProperties {
    std::string target;
    std::string arguments;
    std::string description;
    std::string working_directory;
    std::string icon_path;
    int icon_index = 0;
    bool operator==(const ShellLinkProperties&) const = default;
};

class Shell {
public:
    virtual ~Shell() = default;

    // Writes (or replaces) the link file at link_path. Fails when the shell could not save it,
    // for example into a missing folder. A shell link object that cannot be created at all
    // throws RuntimeError.
    virtual Result WriteShellLink(const ShellLinkProperties& link,
                                  const std::string& link_path) = 0;

    // The file-system path of a special folder; nothing when the shell cannot give one.
    [[nodiscard]] virtual std::optional<std::string> SpecialFolder(int csidl,
                                                                   WindowHandle owner) const = 0;

    // Starts a program or opens a document through the shell; fails when the shell refused it.
    virtual Result Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                           std::string_view parameters, std::string_view directory, int show) = 0;

    // The system directory, at most 260 bytes; "" when the platform cannot tell.
    virtual std::string SystemDirectory() const = 0;

    // Today's date on this machine's clock, as "yyyymmdd".
    virtual std::string LocalDate() const = 0;
};

}  // namespace setup
