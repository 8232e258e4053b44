#include "install/place_file.h"

#include "data/unpack.h"
#include "install/file_names.h"
#include "platform/text.h"

namespace setup {
namespace {

bool ContainsUpper(std::string_view upper_text, std::string_view name) {
    return upper_text.find(text::AsciiUpper(name)) != std::string_view::npos;
}

bool IsProtected(const FileSystem& files, const std::string& target) {
    std::string upper = text::AsciiUpper(target);
    for (std::string_view name : kProtectedFiles)
        if (ContainsUpper(upper, name)) return files.FileExists(target);
    return false;
}

bool IsGuarded(std::string_view upper_name) {
    for (std::string_view name : kGuardedPrograms)
        if (ContainsUpper(upper_name, name)) return true;
    return false;
}

std::string RemoveAll(std::string text, std::string_view part) {
    for (std::size_t at; (at = text.find(part)) != std::string::npos;) text.erase(at, part.size());
    return text;
}

std::string FileMessage(std::string_view name, std::string_view code) {
    std::string text = "文件 ";
    return text.append(name).append("复制出错(").append(code).append(")！ ");
}

// A guarded program's file could not be written: if the program runs, the user may end it, and
// the write is tried once more. A write that still fails is reported.
void HandleGuardedFailure(InstallSession& session, std::string upper_name,
                          const std::string& target, const std::vector<std::uint8_t>& bytes) {
    std::string name = RemoveAll(std::move(upper_name), ".EXE");
    InstallPlatform& platform = session.platform;
    if (IsProgramRunning(platform.processes, name)) {
        std::string question = "程序 ";
        question.append(name).append("正在运行，是否强制结束它? ");
        // An ended program can hold its file for a moment: wait for it, a few seconds at most,
        // so the second write does not fail only because it came too soon.
        if (platform.dialogs.AskWarning(question))
            platform.processes.WaitForExit(KillProgram(platform.processes, target),
                                           kProgramExitWaitMs);
        if (platform.files.WriteFileBytes(target, bytes)) return;
    }
    platform.dialogs.ShowError(FileMessage(name, "X002"));
}

}  // namespace

void PlaceFile(InstallSession& session, std::string_view resource_name,
               std::string_view resource_type, const std::string& target) {
    if (text::Trim(resource_name).empty()) return;
    InstallPlatform& platform = session.platform;
    if (IsProtected(platform.files, target)) return;
    session.window.ShowCopyCaption(kCopyingCaption + target);
    std::vector<std::uint8_t> bytes =
        UnpackNamedResource(platform.resources, resource_type, resource_name);
    if (platform.files.WriteFileBytes(target, bytes)) return;

    std::string upper_name = text::AsciiUpper(ExtractFileName(target));
    if (IsGuarded(upper_name))
        HandleGuardedFailure(session, std::move(upper_name), target, bytes);
    else
        platform.dialogs.ShowError(FileMessage(upper_name, "X001"));
}

bool IsProgramRunning(const Processes& processes, std::string_view name) {
    for (const std::string& title : processes.TopLevelWindowTitles())
        if (!title.empty() && text::EqualsIgnoreAsciiCase(title, name)) return true;
    return false;
}

std::vector<std::uint32_t> KillProgram(Processes& processes, std::string_view path) {
    std::string upper_path = text::AsciiUpper(path);
    std::string upper_name = text::AsciiUpper(ExtractFileName(path));
    std::vector<std::uint32_t> ended;
    for (const ProcessEntry& process : processes.Snapshot()) {
        std::string exe = text::AsciiUpper(process.exe_name);
        if ((exe == upper_name || exe == upper_path) && processes.Terminate(process.id))
            ended.push_back(process.id);
    }
    return ended;
}

}  // namespace setup
