#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "doubles/memory_file_system.h"

namespace setup {
namespace {

TEST(ForceDirectories, CreatesEveryMissingLevelOutermostFirstButNoRoot) {
    MemoryFileSystem files;
    files.AddDirectory("C:\\users");
    EXPECT_TRUE(files.ForceDirectories("C:\\users\\me\\Start Menu\\乗\\Tessik软件\\"));
    EXPECT_EQ(files.CreatedDirectories(),
              (std::vector<std::string>{"C:\\users\\me", "C:\\users\\me\\Start Menu",
                                        "C:\\users\\me\\Start Menu\\乗",
                                        "C:\\users\\me\\Start Menu\\乗\\Tessik软件"}));

    EXPECT_FALSE(files.ForceDirectories("Q:\\A\\B"));       // no drive Q:
    EXPECT_FALSE(files.ForceDirectories("\\\\server\\share\\A"));
    EXPECT_FALSE(files.ForceDirectories("\\\\"));
    EXPECT_EQ(files.CreatedDirectories().size(), 4u);
}

}  // namespace
}  // namespace setup
