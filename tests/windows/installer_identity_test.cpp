// What Windows and deployment tools read from the demo installer before it runs: the manifest
// (elevation, common controls 6, supported systems), the version block in the Chinese (PRC)
// translation, and the icon at every size skingen draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return L"(no version)";
    std::string block(size, '\0');
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return L"(unreadable)";
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

class InstallerIdentity : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(DEMO_INSTALLER, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(module_) << DEMO_INSTALLER << ": " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return {};
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(InstallerIdentity, TheManifestAsksForAdministratorsAndTheNewCommonControls) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {"level=\"requireAdministrator\"",
                             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
                             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                             "WindowsSettings\">false</dpiAware>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST_F(InstallerIdentity, TheVersionBlockNamesTheProductFromItsSettings) {
    const std::string ansi = DEMO_INSTALLER;  // the build's path: ASCII
    const std::wstring file(ansi.begin(), ansi.end());
    EXPECT_EQ(VersionString(file, L"CompanyName"), L"Tessik软件");
    EXPECT_EQ(VersionString(file, L"ProductName"), L"TessikOne软件商贸版");
    EXPECT_EQ(VersionString(file, L"FileDescription"), L"TessikOne软件商贸版 安装程序");
    EXPECT_EQ(VersionString(file, L"ProductVersion"), L"6.0.2");
    EXPECT_EQ(VersionString(file, L"FileVersion"), L"6.0.2");
    EXPECT_EQ(VersionString(file, L"LegalCopyright"), L"\u00A9 2017 Tessik软件");
    EXPECT_EQ(VersionString(file, L"OriginalFilename"), L"TessikSetup.exe");

    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeW(file.c_str(), &ignored), '\0');
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()),
                                    block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00060000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    DWORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(*translation, 0x04B00804u);
}

TEST_F(InstallerIdentity, TheIconComesAtEverySizeTheShellAsksFor) {
    for (int size : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module_, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
}  // namespace setup
