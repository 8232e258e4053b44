// Shows the main window on one page with the generated skin, for screenshots and timings.
//   page_gallery --page N [--title TEXT] [--stamp FILE] [--hold MS] [--bench COUNT]
// --stamp writes, once page N is painted, the milliseconds since the process was created, how
// many of them passed before WinMain and went into preparing the in-memory resources, and the
// Unix time in milliseconds;
// --bench then times COUNT page changes (switch and paint) and COUNT progress-bar steps and appends
// the averages. --hold ends the program after MS milliseconds; without it the program runs until
// its window is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/memory_platform.h"
#include "ui/frm_main.h"
#include "windows/shipped_resources.h"

namespace {

using setup::ui::TFrmMain;

struct Options {
    int page = 1;
    std::string title, stamp;
    int hold_ms = -1;
    int bench = 0;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--page") o.page = std::atoi(value.c_str());
        if (key == "--title") o.title = value;
        if (key == "--stamp") o.stamp = value;
        if (key == "--hold") o.hold_ms = std::atoi(value.c_str());
        if (key == "--bench") o.bench = std::atoi(value.c_str());
    }
    return o;
}

// The licence of the demo installer, UTF-8 with LF in the repository, as GBK with CR LF.
std::string DemoLicence() {
    std::vector<std::uint8_t> utf8 = setup::testing::ReadFileBytes(SETUP_DEMO_LICENCE);
    std::string text(utf8.begin(), utf8.end());
    int wide_len =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_len), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        wide_len);
    std::wstring crlf;
    for (wchar_t c : wide) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    int len = WideCharToMultiByte(936, 0, crlf.data(), static_cast<int>(crlf.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(len), '\0');
    WideCharToMultiByte(936, 0, crlf.data(), static_cast<int>(crlf.size()), gbk.data(), len,
                        nullptr, nullptr);
    return gbk;
}

double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;
}

double NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeMs(now);
}

double ProcessStartMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeMs(created);
}

// Everything the window shows, painted now: the window and every child window.
void PaintNow(TFrmMain& frm) {
    RedrawWindow(frm.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

void ShowGalleryPage(TFrmMain& frm, int page) {
    frm.ShowPage(page);
    // ShowPage starts no copying: the picture has no run behind it.
    if (page == 3) {
        frm.lblNowCopyFile.SetCaption(
            "正在复制文件：D:\\Tessik软件\\TessikOne软件商贸版\\RepCenter\\销售单.rpt");
        frm.lblProcessBarHint.SetCaption("40%");
        frm.DrawProgress(0.4);
    }
}

double SecondsNow() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string Bench(TFrmMain& frm, int count) {
    const double start = SecondsNow();
    for (int i = 0; i < count; ++i) {
        ShowGalleryPage(frm, i % 4 + 1);
        PaintNow(frm);
    }
    const double page_ms = (SecondsNow() - start) * 1000.0 / count;
    ShowGalleryPage(frm, 3);
    PaintNow(frm);
    const double bar_start = SecondsNow();
    for (int i = 0; i < count; ++i) {
        frm.DrawProgress(static_cast<double>(i + 1) / count);
        PaintNow(frm);
    }
    const double bar_ms = (SecondsNow() - bar_start) * 1000.0 / count;
    char line[160];
    std::snprintf(line, sizeof line, "page_change_ms %.3f\nprogress_step_ms %.3f\n", page_ms,
                  bar_ms);
    return line;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const double entered_at = NowMs();
    const Options options = ParseOptions(__argc, __argv);
    setup::MemoryResources resources = setup::testing::ShippedResources(DemoLicence());
    // Compressing the atlas into memory is the gallery's own work, not the installer's.
    const double prepared_at = NowMs();
    setup::testing::MemoryPlatform platform;
    setup::Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    if (!options.title.empty()) SetWindowTextA(frm.Handle(), options.title.c_str());
    frm.Show();
    if (options.page != 1) ShowGalleryPage(frm, options.page);
    PaintNow(frm);

    std::string report;
    char line[160];
    const double painted_at = NowMs();
    std::snprintf(line, sizeof line,
                  "first_paint_ms %.1f\nentry_ms %.1f\nprepare_ms %.1f\nfirst_paint_unix_ms %.0f\n",
                  painted_at - ProcessStartMs(), entered_at - ProcessStartMs(),
                  prepared_at - entered_at, painted_at - 11644473600000.0);
    report += line;
    if (options.bench > 0) {
        report += Bench(frm, options.bench);
        ShowGalleryPage(frm, options.page);
        PaintNow(frm);
    }
    if (!options.stamp.empty()) {
        if (FILE* f = std::fopen(options.stamp.c_str(), "wb")) {
            std::fputs(report.c_str(), f);
            std::fclose(f);
        }
    }

    if (options.hold_ms >= 0) SetTimer(nullptr, 0, static_cast<UINT>(options.hold_ms), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        if (frm.window.HandleDialogChar(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
