// The process's exit code: how a run of the installer ended, the same for the wizard and for an
// unattended run, so that deployment tools can tell what happened.
#pragma once

#include "install/extraction_run.h"

namespace setup {

// In the Windows Installer convention that deployment tools read without per-product setup
// (Intune and ConfigMgr: 0 and 3010 success, 1618 retry later; winget's return-code names).
enum class ExitCode : int {
    Success = 0,           // every file installed and recorded
    DiskFull = 112,        // not enough room on the drive (ERROR_DISK_FULL): refused, or a write
                           // ran out of space
    FolderRefused = 267,   // the installation folder is invalid or cannot be made or written
                           // (ERROR_DIRECTORY); nothing was written
    Cancelled = 1602,      // the user closed or cancelled the installer (ERROR_INSTALL_USEREXIT)
    Incomplete = 1603,     // files not installed, or a post-install task failed
                           // (ERROR_INSTALL_FAILURE)
    AlreadyRunning = 1618, // another installer of the product runs; nothing was written
                           // (ERROR_INSTALL_ALREADY_RUNNING: deployment tools try again later)
    Damaged = 1620,        // the installer's own data failed its check; nothing was written
                           // (ERROR_INSTALL_PACKAGE_INVALID)
    LogNotWritten = 1622,  // everything installed, but the log asked for could not be written
                           // (ERROR_INSTALL_LOG_FAILURE)
    BadCommandLine = 1639, // an unknown or malformed switch (ERROR_INVALID_COMMAND_LINE)
    RestartNeeded = 3010,  // every file installed, some in place only after the next restart
                           // (ERROR_SUCCESS_REBOOT_REQUIRED: success with a restart pending)
};

inline constexpr ExitCode kExitCodes[] = {
    ExitCode::Success,       ExitCode::RestartNeeded, ExitCode::Cancelled,
    ExitCode::Incomplete,    ExitCode::DiskFull,      ExitCode::FolderRefused,
    ExitCode::Damaged,       ExitCode::AlreadyRunning, ExitCode::BadCommandLine,
    ExitCode::LogNotWritten};

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
            return "安装目录不可用（路径无效、无法创建或无法写入）";
        case ExitCode::DiskFull:
            return "磁盘空间不足";
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
// stopped is a cancel; one that ended says whether every entry is in place and every task done
// (files left out for lack of room say so), and a complete one whether it waits for a restart.
constexpr ExitCode ExitCodeFor(const RunSummary& run) {
    switch (run.outcome) {
        case RunOutcome::Complete:
            if (run.task_failures > 0) return ExitCode::Incomplete;
            return run.replaced_at_restart > 0 ? ExitCode::RestartNeeded : ExitCode::Success;
        case RunOutcome::Incomplete:
            return run.disk_full ? ExitCode::DiskFull : ExitCode::Incomplete;
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
