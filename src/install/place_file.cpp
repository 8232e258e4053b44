#include "install/place_file.h"

#include "data/unpack.h"
#include "install/file_names.h"
#include "platform/error.h"
#include "platform/text.h"

namespace setup {
namespace {

bool ContainsUpper(std::string_view upper_text, std::string_view name) {
    return upper_text.find(text::AsciiUpper(name)) != std::string_view::npos;
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

// A write this large takes long enough for its file's name to be seen: the window shows it at
// once. Smaller ones are done before a paint could show them.
constexpr std::uint64_t kLongCopyBytes = 1u << 20;

// The whole entry, read through the installer's file and unpacked into the file as it is
// written: neither the entry nor the file is ever held in memory whole.
Result WriteEntry(InstallSession& session, std::string_view type, std::string_view name,
                  const std::string& target, std::uint64_t& bytes) {
    return session.platform.files.WriteWholeFile(target, [&](const ByteSink& sink) {
        bytes = 0;
        session.contents->Unpack(type, name, [&](Bytes chunk) {
            if (bytes < kLongCopyBytes && bytes + chunk.size() >= kLongCopyBytes)
                session.observer->LongCopyUnderway();
            bytes += chunk.size();
            return sink(chunk);
        });
    });
}

PlaceOutcome Done(Placement placement, std::uint64_t bytes = 0) {
    return {placement, {}, 0, bytes};
}

PlaceOutcome Failed(std::string_view code, const Result& write) {
    return {Placement::Failed, std::string(code), write.error, 0};
}

// A guarded program's file could not be written: if the program runs, the user may end it, and
// the write is tried once more. A write that still fails is reported.
PlaceOutcome HandleGuardedFailure(InstallSession& session, std::string upper_name,
                                  const std::string& target, std::string_view type,
                                  std::string_view resource_name, Result write) {
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
        std::uint64_t bytes = 0;
        write = WriteEntry(session, type, resource_name, target, bytes);
        if (write) return Done(Placement::Written, bytes);
    }
    platform.dialogs.ShowError(FileMessage(name, "X002"));
    return Failed("X002", write);
}

}  // namespace

bool IsProtectedName(std::string_view target) {
    std::string upper = text::AsciiUpper(ExtractFileName(target));
    for (std::string_view name : kProtectedFiles)
        if (ContainsUpper(upper, name)) return true;
    return false;
}

PlaceOutcome PlaceFile(InstallSession& session, std::string_view resource_name,
                       std::string_view resource_type, const std::string& target) {
    if (text::Trim(resource_name).empty()) return Done(Placement::Nothing);
    InstallPlatform& platform = session.platform;
    if (IsProtectedName(target) && platform.files.FileExists(target)) return Done(Placement::Kept);
    session.observer->ShowCopyCaption(kCopyingCaption + target);
    if (!platform.resources.Find(resource_type, resource_name))
        throw ResourceNotFound(resource_name);
    std::uint64_t bytes = 0;
    Result write = WriteEntry(session, resource_type, resource_name, target, bytes);
    if (write) return Done(Placement::Written, bytes);

    std::string upper_name = text::AsciiUpper(ExtractFileName(target));
    if (IsGuarded(upper_name))
        return HandleGuardedFailure(session, std::move(upper_name), target, resource_type,
                                    resource_name, write);
    platform.dialogs.ShowError(FileMessage(upper_name, "X001"));
    return Failed("X001", write);
}

bool IsProgramRunning(const Processes& processes, std::string_view name) {
    for (const std::string& title : processes.TopLevelWindowTitles())
        if (!title.empty() && text::EqualsIgnoreAsciiCase(title, name)) return true;
    return false;
}

std::vector<std::uint32_t> KillProgram(Processes& processes, std::string_view path) {
    std::vector<std::uint32_t> ended;
    for (const ProcessEntry& process : processes.Snapshot())
        if (!process.image_path.empty() && text::EqualsIgnoreAsciiCase(process.image_path, path) &&
            processes.Terminate(process.id))
            ended.push_back(process.id);
    return ended;
}

}  // namespace setup
