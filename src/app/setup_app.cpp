#include "app/setup_app.h"

#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/single_instance.h"
#include "app/unattended_run.h"
#include "install/exit_code.h"
#include "install/install_log.h"
#include "install/installation.h"
#include "install/logging_platform.h"
#include "platform/application_title.h"
#include "platform/win32/handles.h"
#include "platform/win32/log_file.h"
#include "platform/win32/message_box.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"
#include "ui/frm_main.h"
#include "ui/frm_set_dir.h"

namespace setup::app {

namespace {

// What the user is told when the installer's own data is damaged: nothing has been written.
constexpr char kDamagedMessage[] = "安装程序已损坏，请重新下载。";

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

// Alt+letter goes to the check boxes; Tab moves between the window's controls.
void RunMessageLoop(ui::TFrmMain& frm, LoopProbe* probe) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        LARGE_INTEGER before{}, after{};
        if (probe) QueryPerformanceCounter(&before);
        // IsDialogMessage dispatches the messages of the window and its controls itself.
        if (!frm.window.HandleDialogChar(message) && !IsDialogMessageA(frm.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (probe) {
            QueryPerformanceCounter(&after);
            probe->Dispatched(message, Milliseconds(before, after));
        }
    }
    if (probe) probe->Finished();
}

// Between two entries of a run with a progress window: what is waiting, and nothing more.
void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The wizard starts with what the command line chose: page 2's folder and options, no cancel.
ui::WizardPresets PresetsOf(const CommandLine& line) {
    return {line.folder, line.tasks, line.no_cancel};
}

ExitCode RunWizard(Installation& installation, const CommandLine& line, FileSystem& files,
                   Win32Dialogs& dialogs, InstallLog* log, LoopProbe* probe) {
    ui::TFrmMain frm_main(installation);
    frm_main.UsePresets(PresetsOf(line));
    // With /NORESTART a program the user keeps running has its files replaced at the restart.
    installation.Session().ReplaceHeldFilesAtRestart = line.no_restart;
    dialogs.SetOwner(reinterpret_cast<WindowHandle>(frm_main.Handle()));
    std::optional<LoggingObserver> logging;
    if (log) installation.SetObserver(&logging.emplace(*log, frm_main.View()));
    ui::TFrmSetDir frm_set_dir(files);
    frm_main.FrmSetDir = &frm_set_dir;
    if (probe) probe->Watch(installation);
    frm_main.Show();
    RunMessageLoop(frm_main, probe);
    return ExitCodeFor(installation.Summary());
}

// /SILENT shows the copying page alone; /S and /VERYSILENT show nothing.
ExitCode RunWithoutWizard(Installation& installation, const CommandLine& line, InstallLog* log) {
    QuietObserver quiet(UnattendedOptions(line));
    std::optional<ui::TFrmMain> progress;
    InstallObserver* shown = &quiet;
    if (line.mode == RunMode::Silent) {
        progress.emplace(installation);
        progress->window.SetMainForm(false);
        progress->ShowProgressOnly(UnattendedOptions(line));
        shown = &progress->View();
    }
    std::optional<LoggingObserver> logging;
    installation.SetObserver(log ? &logging.emplace(*log, *shown) : shown);
    return RunUnattended(installation, line, log,
                         progress ? PumpMessages : std::function<void()>());
}

// The help text, or why the command line was refused: a box in the wizard, the log alone when the
// line asks for no window.
void ShowHelp(const std::string& text, bool unattended) {
    if (!unattended)
        win32::ShowMessageBox(nullptr, text, kApplicationTitle, MB_OK | MB_ICONINFORMATION, false);
}

}  // namespace

int RunSetup(std::string_view arguments, LoopProbe* probe) {
    // The shell link object lives in this thread's single-threaded apartment.
    win32::ComApartment apartment;
    const CommandLineParse parse = ParseCommandLine(arguments);
    const CommandLine& line = parse.line;
    const bool unattended = line.mode != RunMode::Wizard;

    // The log comes first, so that even a refused command line is written down.
    std::optional<win32::LogFile> log_file;
    std::optional<InstallLog> log;
    if (line.log_file) {
        log_file.emplace(line.log_file->empty() ? win32::LogFile::CreateNew()
                                                : win32::LogFile(*line.log_file));
        log.emplace([&](std::string_view text) { return log_file->WriteLine(text); },
                    win32::SteadySeconds,
                    [](std::uint32_t code) { return win32::SystemMessage(code); });
        log->Write("command line:" + std::string(arguments));
    }
    InstallLog* logged = log ? &*log : nullptr;
    auto finish = [&](ExitCode code) {
        if (log) {
            code = WithLogStatus(code, log->Failed());
            log->WriteSummary(ProcessExitCode(code, line), ExitCodeMeaning(code));
        }
        return ProcessExitCode(code, line);
    };

    if (parse.Refused() || line.help) {
        const std::string text = parse.Refused()
                                     ? "命令行参数错误：" + parse.problem + "\r\n\r\n" + HelpText()
                                     : HelpText();
        if (log) log->Write(text);
        ShowHelp(text, unattended);
        return finish(parse.Refused() ? ExitCode::BadCommandLine : ExitCode::Success);
    }

    Win32Resources resources;
    Win32FileSystem files;
    Win32Registry registry;
    Win32Shell shell;
    Win32Processes processes;
    Win32Dialogs boxes;
    UnattendedDialogs answers(line.close_applications);
    // /SUPPRESSMSGBOXES gives the wizard the unattended answers too.
    const bool answered = unattended || line.suppress_message_boxes;
    Dialogs& dialogs = answered ? static_cast<Dialogs&>(answers) : boxes;
    const InstallPlatform plain{files, registry, shell, processes, dialogs, resources};
    std::optional<LoggingPlatform> logging;
    if (log) logging.emplace(plain, *log);
    const InstallPlatform platform = logging ? logging->Platform() : plain;

    Installation installation(platform);
    // Held to the end of the run: a second installer of the product meanwhile writes nothing.
    const SingleInstance instance(InstallerMutexName(installation.Strings()));
    if (instance.AnotherRuns()) {
        platform.dialogs.ShowPlain(kAlreadyRunningMessage);
        return finish(ExitCode::AlreadyRunning);
    }
    // A damaged download is refused before anything is shown or written.
    if (auto damaged = installation.FindDamage()) {
        platform.dialogs.ShowPlain(std::string(kDamagedMessage) + "\r\n(" + *damaged + ")");
        return finish(ExitCode::Damaged);
    }
    return finish(unattended ? RunWithoutWizard(installation, line, logged)
                             : RunWizard(installation, line, files, boxes, logged, probe));
}

}  // namespace setup::app
