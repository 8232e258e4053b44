// Runs the skingen program itself: repeatable output, and clear failures instead of a
// silently broken atlas or icon.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("skingen-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome runSkingen(const std::string& args) const {
        const fs::path err = dir_ / "stderr.txt";
        const std::string cmd =
            std::string("'") + SKINGEN_EXE + "' " + args + " 2>'" + err.string() + "' >/dev/null";
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(err)};
    }

    static std::string slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(CliTest, WritesTheSameBytesOnEveryRun) {
    ASSERT_EQ(runSkingen("--out " + (dir_ / "a.bmp").string()).status, 0);
    ASSERT_EQ(runSkingen("--out " + (dir_ / "b.bmp").string()).status, 0);
    const std::string a = slurp(dir_ / "a.bmp");
    EXPECT_EQ(a.size(), 2328586u);
    EXPECT_TRUE(a == slurp(dir_ / "b.bmp"));
}

TEST_F(CliTest, IconIsTheSameBytesOnEveryRunAndLeavesTheAtlasAsItWas) {
    const auto path = [this](const char* name) { return (dir_ / name).string(); };
    ASSERT_EQ(runSkingen("--icon " + path("a.ico")).status, 0);
    ASSERT_EQ(runSkingen("--out " + path("b.bmp") + " --icon " + path("b.ico")).status, 0);
    ASSERT_EQ(runSkingen("--out " + path("c.bmp")).status, 0);
    const std::string icon = slurp(dir_ / "a.ico");
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\4\0", 6));
    EXPECT_TRUE(icon == slurp(dir_ / "b.ico"));
    EXPECT_TRUE(slurp(dir_ / "b.bmp") == slurp(dir_ / "c.bmp"));
}

TEST_F(CliTest, MissingFontFailsAndWritesNothing) {
    const fs::path out = dir_ / "atlas.bmp";
    const Outcome r = runSkingen("--font /nonexistent/font.ttc --out " + out.string());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("/nonexistent/font.ttc"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
    // The icon needs no font, but a run that fails half-way must not look half done.
    const fs::path icon = dir_ / "icon.ico";
    const std::string both = " --out " + out.string() + " --icon " + icon.string();
    EXPECT_NE(runSkingen("--font /nonexistent/font.ttc" + both).status, 0);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(icon));
}

TEST_F(CliTest, FontWithoutChineseGlyphsFails) {
    const char* latinOnly = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!fs::exists(latinOnly)) GTEST_SKIP() << "no Latin-only font to try";
    const fs::path out = dir_ / "atlas.bmp";
    const Outcome r = runSkingen(std::string("--font ") + latinOnly + " --out " + out.string());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("no glyph"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliTest, RefusesToRunWithoutAnOutputFile) {
    const Outcome r = runSkingen("");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--out"), std::string::npos) << r.err;
}

TEST_F(CliTest, RefusesToWriteTheAtlasAndTheIconToOneFile) {
    const fs::path out = dir_ / "skin.bmp";
    const Outcome r =
        runSkingen("--out " + out.string() + " --icon " + (dir_ / "." / "skin.bmp").string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("same file"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
