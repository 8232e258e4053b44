// Stands in for the product's base library (TsBase.dll in the payload): a real library, so that a
// stand-in program can keep it loaded while an update replaces it.
#include <windows.h>

extern "C" __declspec(dllexport) int TsBaseVersion() {
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
