#include "platform/win32/win32_resources.h"

#include <gtest/gtest.h>

#include "data/file_list.h"
#include "data/settings.h"
#include "data/unpack.h"
#include "scratch.h"
#include "support/shipped_settings.h"

namespace setup {
namespace {

TEST(Win32Resources, ShippedSettingsReadBackByteExactInGbk) {
    Win32Resources resources;
    ASSERT_EQ(GetACP(), 936u) << "tests run with code page 936";
    for (unsigned i = 0; i < testing::kShippedSettings.size(); ++i)
        EXPECT_EQ(resources.LoadLine(kFirstSettingId + i), testing::kShippedSettings[i]) << i;

    const SetupSettings settings = ReadSetupSettings(resources);
    EXPECT_TRUE(settings.Parsed()) << settings.Problem();
    for (const auto& piece : settings.pieces) EXPECT_TRUE(piece);
    EXPECT_EQ(settings.strings.SvrExeName, "TessikOne商贸版服务器.exe");
}

TEST(Win32Resources, LinesAreCutAt511BytesWithoutSplittingACharacter) {
    Win32Resources resources;
    EXPECT_EQ(resources.LoadLine(1100), std::string(511, 'x'));
    std::string chinese = resources.LoadLine(1101);
    EXPECT_EQ(chinese.size(), 510u);
    EXPECT_EQ(chinese.substr(0, 2), "汉");
    EXPECT_EQ(resources.LoadLine(1999), "");
}

TEST(Win32Resources, FileListPositionMapsToItsResource) {
    Win32Resources resources;
    auto list = LoadFileList(resources);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2], "data\\log\\third.log");
    auto bytes = UnpackNamedResource(resources, PayloadResourceType(2), PayloadResourceName(2));
    EXPECT_EQ(TextUpToNul(bytes), "第三个文件");
}

TEST(Win32Resources, NamesAndTypesIgnoreCase) {
    Win32Resources resources;
    EXPECT_TRUE(resources.Find("myres0001", "myfile0001"));
    EXPECT_TRUE(resources.Find("MYRES0001", "MyFile0001"));
    EXPECT_FALSE(resources.Find("Myres0001", "MyFile0002"));
}

}  // namespace
}  // namespace setup

// --- The installer's own file, read through one handle ------------------------------------------

namespace setup {
namespace {

using testing::ReadWholeFile;
using testing::ScratchFolder;

constexpr char kType[] = "MyRes0001";
constexpr char kName[] = "MyFile0001";

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ReadAllThrough(const Resources& resources) {
    std::string read;
    if (!resources.ReadThrough(kType, kName, [&](Bytes chunk) {
            read.append(chunk.begin(), chunk.end());
            return true;
        }))
        return "(refused)";
    return read;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

// A copy of this test program loaded as a module, and another program of the same layout whose
// resource bytes differ, ready to be put under the copy's name.
class SwappedInstaller : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = ScratchFolder(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        path_ = folder + "\\installer.exe";
        away_ = folder + "\\renamed.exe";
        DeleteFileA(away_.c_str());
        ASSERT_TRUE(CopyFileA(OwnPath().c_str(), path_.c_str(), FALSE));
        module_ = LoadLibraryExA(path_.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_TRUE(module_);
        const std::optional<Bytes> mapped = Win32Resources(module_).Find(kType, kName);
        ASSERT_TRUE(mapped && mapped->size() >= 4);
        original_.assign(mapped->begin(), mapped->end());
        std::optional<std::string> image = ReadWholeFile(path_);
        ASSERT_TRUE(image);
        const std::size_t at = image->find(original_);
        ASSERT_NE(at, std::string::npos);
        other_ = *image;
        for (std::size_t i = 0; i < original_.size(); ++i) other_[at + i] ^= 0x5A;
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        DeleteFileA(path_.c_str());
        DeleteFileA(away_.c_str());
    }
    // Renames the module's file away and puts the other program under its name.
    bool Swap() {
        return MoveFileA(path_.c_str(), away_.c_str()) && WriteFileBytes(path_, other_);
    }

    std::string path_, away_, original_, other_;
    HMODULE module_ = nullptr;
};

// Once the resources are open, nobody can rename the file away; were it renamed all the same,
// the reads would still give the module's own bytes.
TEST_F(SwappedInstaller, AfterOpeningTheFileCannotBeSwappedAndReadsGiveTheModulesBytes) {
    Win32Resources resources(module_);
    const bool swapped = Swap();
    if (!swapped) EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(ReadAllThrough(resources), original_) << "swapped: " << swapped;
}

// A file put under the module's name before the resources were opened is not the module's:
// nothing is read from it.
TEST_F(SwappedInstaller, AnotherBuildUnderTheModulesNameIsNeverRead) {
    // Another build: its own time stamp in the file header.
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(other_.data());
    other_[dos->e_lfanew + 8] ^= 0x01;
    ASSERT_TRUE(Swap()) << GetLastError();
    Win32Resources resources(module_);
    EXPECT_EQ(ReadAllThrough(resources), "(refused)");
    EXPECT_TRUE(resources.Find(kType, kName));
}

}  // namespace
}  // namespace setup
