// An in-memory shell for the native tests: links are saved as files of a MemoryFileSystem (so a
// missing folder makes the save fail, as it does on the platform) and their properties are kept;
// program starts are recorded in order; special folders are whatever the test sets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace setup {

class MemoryShell final : public Shell {
public:
    struct Start {
        WindowHandle owner = 0;
        std::string verb, file, parameters, directory;
        int show = 0;
        bool operator==(const Start&) const = default;
    };
    struct SavedLink {
        std::string path;
        ShellLinkProperties properties;
    };

    explicit MemoryShell(FileSystem& files) : files_(files) {}

    void SetSpecialFolder(int csidl, std::string path) { folders_[csidl] = std::move(path); }
    void SetSystemDirectory(std::string path) { system_directory_ = std::move(path); }
    // Makes the creation of the shell link object fail.
    void BreakLinkObject() { link_object_broken_ = true; }

    // Saved links in the order they were written (a replaced link appears again).
    const std::vector<SavedLink>& Links() const { return links_; }
    const std::vector<Start>& Starts() const { return starts_; }

    Result WriteShellLink(const ShellLinkProperties& link, const std::string& link_path) override;
    std::optional<std::string> SpecialFolder(int csidl, WindowHandle owner) const override;
    Result Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                   std::string_view parameters, std::string_view directory, int show) override;
    std::string SystemDirectory() const override { return system_directory_; }
    std::string LocalDate() const override { return "20261209"; }

private:
    FileSystem& files_;
    std::map<int, std::string> folders_;
    std::string system_directory_;
    bool link_object_broken_ = false;
    std::vector<SavedLink> links_;
    std::vector<Start> starts_;
};

}  // namespace setup
