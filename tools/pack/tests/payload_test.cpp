// The payload folder: only what lies inside it may be packed, every file must be readable before
// anything is written, and a folder that cannot be read must not hide the files after it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "order_file.h"
#include "test_support.h"

namespace pack {
namespace {

using testing::WriteFile;

class PayloadTest : public testing::ScratchTest {
protected:
    PayloadOrder Parse(const std::string& order, const fs::path& payload) {
        return ParseOrder(order, "order.txt", payload);
    }
};

TEST_F(PayloadTest, LinksThatLeadOutOfThePayloadFolderAreRefused) {
    const fs::path payload = dir_ / "payload";
    WriteFile(dir_ / "host/secret.txt", "build machine");
    WriteFile(dir_ / "host/keys/id.txt", "key");
    WriteFile(payload / "real.txt", "real");
    WriteFile(payload / "sub/a.txt", "aa");
    fs::create_symlink(dir_ / "host/secret.txt", payload / "secret.txt");
    fs::create_symlink("../../host/keys", payload / "sub/keys");  // a folder on the way out
    fs::create_symlink("real.txt", payload / "alias.txt");
    fs::create_symlink("sub", payload / "inner");
    PayloadOrder result =
        Parse("secret.txt\nsub\\keys\\id.txt\nalias.txt\ninner\\a.txt\n", payload);
    ASSERT_EQ(result.problems.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(result.problems[i].line, i + 1);
        EXPECT_NE(result.problems[i].message.find("leads out of the payload folder"),
                  std::string::npos)
            << result.problems[i].message;
    }
    // Links that stay inside are packed like the files they point to.
    ASSERT_EQ(result.entries.size(), 2u);
    EXPECT_EQ(result.entries[0].size, 4u);
    EXPECT_EQ(result.entries[1].size, 2u);

    // A payload folder named through a link is still the folder its files lie in.
    fs::create_symlink(payload, dir_ / "payload-link");
    EXPECT_TRUE(Parse("alias.txt\ninner\\a.txt\n", dir_ / "payload-link").problems.empty());
}

// Leaves no file descriptor free, so every open fails. Root opens any file whatever its mode, so
// this is how a file that cannot be opened is made for every user.
class NoFreeDescriptors {
public:
    NoFreeDescriptors() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        const int lowest_free = ::open("/dev/null", O_RDONLY);
        ::close(lowest_free);
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(lowest_free);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    ~NoFreeDescriptors() { setrlimit(RLIMIT_NOFILE, &saved_); }
    NoFreeDescriptors(const NoFreeDescriptors&) = delete;
    NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

private:
    rlimit saved_{};
};

TEST_F(PayloadTest, AFileThatCannotBeOpenedIsAProblemWithTheSystemsReason) {
    WriteFile(dir_ / "data/locked.bin", "x");
    // Run once with descriptors to spare: this also loads the GBK converter, which opens files.
    ASSERT_TRUE(Parse("data\\locked.bin\n", dir_).problems.empty());
    PayloadOrder result;
    {
        NoFreeDescriptors limit;
        result = Parse("data\\locked.bin\n", dir_);
    }
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(Describe(result.problems[0]), "order.txt:1: cannot read " +
                                                (dir_ / "data/locked.bin").string() + ": " +
                                                std::strerror(EMFILE));
    EXPECT_TRUE(result.entries.empty());
}

TEST_F(PayloadTest, AFolderThatCannotBeReadIsReportedAndTheSearchGoesOn) {
    WriteFile(dir_ / "a.txt", "a");
    WriteFile(dir_ / "locked/hidden.txt", "h");
    WriteFile(dir_ / "partial/p.txt", "p");
    WriteFile(dir_ / "other/forgotten.png", "f");
    WriteFile(dir_ / "z.txt", "z");
    // "locked" cannot be listed at all; "partial" fails after its first entry.
    ListFolder list = [](const fs::path& folder, std::vector<fs::directory_entry>& entries) {
        if (folder.filename() == "locked")
            return std::make_error_code(std::errc::permission_denied);
        std::error_code ec = ListFolderOnDisk(folder, entries);
        if (folder.filename() == "partial") return std::make_error_code(std::errc::io_error);
        return ec;
    };
    Problems warnings;
    PayloadOrder order = Parse("a.txt\n", dir_);
    EXPECT_EQ(UnlistedFiles(dir_, order.entries, warnings, list),
              (std::vector<std::string>{"other/forgotten.png", "partial/p.txt", "z.txt"}));
    ASSERT_EQ(warnings.size(), 2u);
    std::sort(warnings.begin(), warnings.end(),
              [](const Problem& a, const Problem& b) { return a.file < b.file; });
    EXPECT_EQ(Describe(warnings[0]), (dir_ / "locked").string() + ": cannot read the folder (" +
                                         std::strerror(EACCES) +
                                         "); files in it are not compared with the order file");
    EXPECT_EQ(warnings[1].file, (dir_ / "partial").string());
    EXPECT_NE(warnings[1].message.find(std::strerror(EIO)), std::string::npos);
}

}  // namespace
}  // namespace pack
