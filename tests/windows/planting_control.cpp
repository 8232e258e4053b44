// The planting test's control program. It imports from the same system DLLs as the installer
// (see import_table_check.sh), so run without arguments it shows what Wine's own system
// libraries load while a program starts, before its first instruction (Wine's user32 imports
// version.dll; Windows' does not). With a DLL name, it loads that DLL by its bare name with the
// system's ordinary search, as the installer must not: the planted copy is taken, which shows
// that the test's setup would see a planted DLL being loaded.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

int main(int argc, char** argv) {
    // One call into each DLL the installer imports, so each is in this program's import table.
    volatile bool never = argc < 0;
    if (never) {
        InitCommonControls();
        CoTaskMemFree(nullptr);
        DragFinish(nullptr);
        RegCloseKey(nullptr);
        GetStockObject(0);
        GetSysColor(0);
    }
    if (argc < 2) return 0;
    return LoadLibraryA(argv[1]) ? 0 : 1;
}
