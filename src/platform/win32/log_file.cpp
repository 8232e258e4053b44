#include "platform/win32/log_file.h"

#include <windows.h>

#include <vector>

#include "platform/win32/unique_file.h"

namespace setup::win32 {

namespace {

std::string AnsiToUtf8(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int wide_length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(wide_length));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                        wide_length);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace

LogFile::LogFile(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)),
      path_(path) {}

LogFile LogFile::CreateNew(const std::string& folder) {
    NewFile made = CreateUniqueFile(folder, "TessikSetup-", ".log", FILE_SHARE_READ);
    return LogFile(std::move(made.handle), std::move(made.path));
}

bool LogFile::WriteLine(std::string_view line) {
    if (!file_) return false;
    const std::string out = AnsiToUtf8(line) + "\r\n";
    DWORD written = 0;
    return WriteFile(file_.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
           written == out.size();
}

std::string LogFile::TemporaryFolder() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

double SteadySeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

}  // namespace setup::win32
