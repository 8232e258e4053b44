// The installer's program entry, for now: one window that shows what the executable carries in its
// own resources (settings, file list, skin atlas, licence), so a build can be checked by eye.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "data/file_list.h"
#include "data/settings.h"
#include "data/unpack.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_resources.h"

namespace {

constexpr char kTitle[] = "TessikOne软件";
constexpr char kClassName[] = "TessikSetupMain";
constexpr const char* kPieceKeys[setup::kSkinPieceCount] = {
    "FrmTop1BackRect",    "FrmTop2BackRect",
    "FrmCenter1BackRect", "FrmCenter2BackRect",
    "FrmCenter3BackRect", "FrmCenter4BackRect",
    "FrmBottomBackRect",  "PrBBackRect",
    "PrBBarRect",         "BtnRect",
    "BtnCloseRect"};

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char line[600];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}

void DescribeSettings(const setup::Resources& resources, std::string& out) {
    out += "皮肤矩形：\r\n";
    setup::ProductStrings s;
    // The sink writes each rectangle as it comes, so a bad one still leaves those before it shown.
    setup::ReadSetupSettings(resources, s, [&](setup::SkinPiece piece, const setup::PieceRect& r) {
        out += Format("  %-20s %4d, %4d, %4d x %d\r\n", kPieceKeys[static_cast<int>(piece)], r.x,
                      r.y, r.w, r.h);
    });
    const std::pair<const char*, const std::string*> names[] = {
        {"Company", &s.Company},
        {"SoftSysName", &s.SoftSysName},
        {"MainExeName", &s.MainExeName},
        {"UninstallName", &s.UninstallName},
        {"SoftYear", &s.SoftYear},
        {"SoftVersion", &s.SoftVersion},
        {"SoftSvrName", &s.SoftSvrName},
        {"SvrExeName", &s.SvrExeName},
        {"SoftTrialName", &s.SoftTrialName},
        {"SoftTrialExeName", &s.SoftTrialExeName},
        {"SoftForFreeName", &s.SoftForFreeName},
        {"SoftForFreeExeName", &s.SoftForFreeExeName}};
    out += "产品文字：\r\n";
    for (const auto& [key, value] : names) out += Format("  %-20s %s\r\n", key, value->c_str());
}

void DescribeFileList(const setup::Resources& resources, std::string& out) {
    std::vector<std::string> list = setup::LoadFileList(resources);
    out += Format("安装文件：%d 个\r\n", static_cast<int>(list.size()));
    if (list.empty()) return;
    out += "  第一个 " + list.front() + "\r\n  最后一个 " + list.back() + "\r\n";
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void DescribeSkin(const setup::Resources& resources, std::string& out) {
    std::vector<std::uint8_t> bmp =
        setup::UnpackNamedResource(resources, setup::kSkinResourceType, setup::kSkinResourceName);
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M') {
        out += Format("皮肤图片：%u 字节，不是 BMP 文件\r\n", static_cast<unsigned>(bmp.size()));
        return;
    }
    const int width = static_cast<std::int32_t>(Le32(bmp, 18));
    const int height = static_cast<std::int32_t>(Le32(bmp, 22));
    const int bits = bmp[28] | bmp[29] << 8;
    out += Format("皮肤图片：%d x %d，%d 位，%u 字节%s\r\n", width, height, bits,
                  static_cast<unsigned>(bmp.size()), bits == 24 ? "" : "（需要 24 位）");
}

void DescribeLicence(const setup::Resources& resources, std::string& out) {
    std::vector<std::uint8_t> bytes = setup::UnpackNamedResource(
        resources, setup::kLicenceResourceType, setup::kLicenceResourceName);
    std::string text = setup::TextUpToNul(bytes);
    out += Format("许可协议：%u 字节\r\n", static_cast<unsigned>(text.size()));
    std::size_t start = 0;
    for (int line = 0; line < 3 && start < text.size(); ++line) {
        std::size_t end = text.find("\r\n", start);
        std::string_view shown = std::string_view(text).substr(start, end - start);
        out += "  " + std::string(setup::text::CutToBytes(shown, 100)) + "\r\n";
        if (end == std::string::npos) break;
        start = end + 2;
    }
}

// Reads every part on its own, so one damaged resource does not hide the others; the errors are
// shown together.
std::string DescribeResources(std::string& errors) {
    setup::Win32Resources resources;
    std::string out;
    for (auto describe : {DescribeSettings, DescribeFileList, DescribeSkin, DescribeLicence}) {
        try {
            describe(resources, out);
        } catch (const setup::RuntimeError& e) {
            out += std::string("  出错：") + e.what() + "\r\n";
            errors += std::string(e.what()) + "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

class MainWindow {
public:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        return self ? self->HandleMessage(window, message, wparam, lparam)
                    : DefWindowProcA(window, message, wparam, lparam);
    }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        switch (message) {
            case WM_CREATE:
                FormCreate(window);
                return 0;
            case WM_SIZE:
                MoveWindow(edit_, 8, 8, LOWORD(lparam) - 16, HIWORD(lparam) - 16, TRUE);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }

    // Window creation is one of the places where errors are shown; nothing leaves this handler.
    void FormCreate(HWND window) {
        font_.reset(CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                FIXED_PITCH | FF_MODERN, "新宋体"));
        edit_ = CreateWindowExA(
            WS_EX_CLIENTEDGE, "EDIT", "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
            0, 0, window, nullptr, nullptr, nullptr);
        SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        std::string errors;
        std::string report;
        try {
            report = DescribeResources(errors);
        } catch (const std::exception& e) {
            errors += e.what();
        }
        SetWindowTextA(edit_, report.c_str());
        if (!errors.empty()) MessageBoxA(window, errors.c_str(), kTitle, MB_OK | MB_ICONERROR);
    }

    HWND edit_ = nullptr;
    setup::win32::UniqueFont font_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = MainWindow::Procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassA(&window_class)) return 1;

    MainWindow main_window;
    HWND window =
        CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        640, 700, nullptr, nullptr, instance, &main_window);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
