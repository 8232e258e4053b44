// The folder list of the directory chooser: the root of the drive, each folder on the way down to
// the current directory (open), then the folders inside it (closed). The list moves through the
// process's current directory and reads its directory back from the system, so what it reports is
// what the system reports ("C:\" for a root, no trailing backslash otherwise).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace setup {

struct DirectoryItem {
    std::string name;   // the root as "C:\", any other folder by its name
    int level = 0;      // indentation: 0 for the root
    bool open = false;  // on the way to the current directory, or the current directory itself
};

class DirectoryList {
public:
    explicit DirectoryList(FileSystem& files) : files_(files) {}

    // Fired whenever the current directory changes.
    std::function<void()> OnChange;

    const std::string& Directory() const { return directory_; }
    const std::vector<DirectoryItem>& Items() const { return items_; }
    // The item of the current directory.
    int CurrentIndex() const { return current_index_; }

    // The full path an item stands for.
    std::string PathOfItem(int index) const;

    // Opens an item (double click or Enter): it becomes the current directory.
    bool OpenItem(int index);

    // Moves to a folder; false, and nothing changes, when the system refuses it.
    bool MoveTo(std::string_view path);

    // Shows the process's current directory, as a new list does: no change is reported.
    void ShowCurrent();

    // Reads the folders inside the current directory again.
    void Rebuild();

private:
    FileSystem& files_;
    std::string directory_;
    std::vector<DirectoryItem> items_;
    int current_index_ = -1;
};

}  // namespace setup
