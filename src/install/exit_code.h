// The process's exit code: how a run of the installer ended, the same for the wizard and for an
// unattended run, so that deployment tools can tell what happened.
#pragma once

#include "install/extraction_run.h"

namespace setup {

enum class ExitCode : int {
    Success = 0,         // every file installed and recorded
    Cancelled = 1,       // the user closed or cancelled the installer
    BadCommandLine = 2,  // an unknown or malformed switch
    Damaged = 3,         // the installer's own data failed its check; nothing was written
    FolderRefused = 4,   // the installation folder was refused; nothing was written
    Incomplete = 5,      // the run ended with files not installed
    LogNotWritten = 6,   // everything installed, but the log asked for could not be written
    // Another installer of the product is running; nothing was written. The code deployment
    // tools know as "another installation is in progress" and try again later.
    AlreadyRunning = 1618,
    // Every file installed, some of them in place only after the next restart (a running
    // program held them). The code deployment tools read as success with a restart pending.
    RestartNeeded = 3010,
};

inline constexpr ExitCode kExitCodes[] = {
    ExitCode::Success,       ExitCode::Cancelled,  ExitCode::BadCommandLine,
    ExitCode::Damaged,       ExitCode::FolderRefused, ExitCode::Incomplete,
    ExitCode::LogNotWritten, ExitCode::AlreadyRunning, ExitCode::RestartNeeded};

// What a code means, as the help text and the log say it.
constexpr const char* ExitCodeMeaning(ExitCode code) {
    switch (code) {
        case ExitCode::Success:
            return "安装成功";
        case ExitCode::Cancelled:
            return "用户取消了安装";
        case ExitCode::BadCommandLine:
            return "命令行参数错误";
        case ExitCode::Damaged:
            return "安装程序已损坏";
        case ExitCode::FolderRefused:
            return "安装目录不可用（路径无效、无法创建或磁盘空间不足）";
        case ExitCode::Incomplete:
            return "安装未完成：有文件未能安装或注册表记录未能写入";
        case ExitCode::LogNotWritten:
            return "安装成功，但无法写入日志";
        case ExitCode::AlreadyRunning:
            return "另一个安装程序正在运行";
        case ExitCode::RestartNeeded:
            return "安装成功，重新启动计算机后完成";
    }
    return "";
}

// The code for how the run stands when the program ends: a run that never started or was
// stopped is a cancel; one that ended says whether every entry is in place and every task done,
// and a complete one whether it waits for a restart.
constexpr ExitCode ExitCodeFor(const RunSummary& run) {
    switch (run.outcome) {
        case RunOutcome::Complete:
            if (run.task_failures > 0) return ExitCode::Incomplete;
            return run.replaced_at_restart > 0 ? ExitCode::RestartNeeded : ExitCode::Success;
        case RunOutcome::Incomplete:
            return ExitCode::Incomplete;
        case RunOutcome::Running:
        case RunOutcome::Cancelled:
            break;
    }
    return ExitCode::Cancelled;
}

// The code a run ends with once its log is known: a log that could not be written turns a
// success into its own code; any other outcome keeps its code, which says more.
constexpr ExitCode WithLogStatus(ExitCode code, bool log_failed) {
    return code == ExitCode::Success && log_failed ? ExitCode::LogNotWritten : code;
}

}  // namespace setup
