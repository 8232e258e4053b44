#include "app/setup_app.h"

#include "gui/errors.h"
#include "install/exit_code.h"
#include "install/installation.h"
#include "platform/win32/handles.h"
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

// What the user is told when the installer's own data is damaged: nothing has been written.
constexpr char kDamagedMessage[] = "安装程序已损坏，请重新下载。";

}  // namespace

int RunSetup(LoopProbe* probe) {
    // The shell link object lives in this thread's single-threaded apartment.
    win32::ComApartment apartment;

    Win32Resources resources;
    Win32FileSystem files;
    Win32Registry registry;
    Win32Shell shell;
    Win32Processes processes;
    Win32Dialogs dialogs;

    Installation installation({files, registry, shell, processes, dialogs, resources});
    // A damaged download is refused before anything is shown or written.
    if (auto damaged = installation.FindDamage()) {
        dialogs.ShowPlain(std::string(kDamagedMessage) + "\r\n(" + *damaged + ")");
        return static_cast<int>(ExitCode::Damaged);
    }

    ui::TFrmMain frm_main(installation);
    dialogs.SetOwner(reinterpret_cast<WindowHandle>(frm_main.Handle()));
    ui::TFrmSetDir frm_set_dir(files);
    frm_main.FrmSetDir = &frm_set_dir;

    frm_main.Show();
    RunMessageLoop(frm_main, probe);
    return static_cast<int>(ExitCodeFor(frm_main.Outcome()));
}

}  // namespace setup::app
