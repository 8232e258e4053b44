// Owners of Win32 handles: one move-only type per handle kind, so every handle is released at the
// end of its scope, also when an exception passes. Copies are deleted: a copied handle would be
// closed twice.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace setup::win32 {

// Traits give the handle type, its "none" value and how to release it.
template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle_; }
    bool valid() const { return Traits::IsValid(handle_); }
    explicit operator bool() const { return valid(); }

    Handle release() { return std::exchange(handle_, Traits::None()); }
    void reset(Handle handle = Traits::None()) {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }
    // For out-parameters of the API: releases what is held and hands out the slot.
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::None();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using UniqueHandle = ScopedHandle<KernelHandleTraits>;

// A FindFirstFile search.
struct FindTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using UniqueFind = ScopedHandle<FindTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
using UniqueKey = ScopedHandle<RegKeyTraits>;

// Bitmaps, brushes, pens, fonts and regions: everything DeleteObject releases.
template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
using UniqueBitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = ScopedHandle<GdiObjectTraits<HPEN>>;
using UniqueFont = ScopedHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = ScopedHandle<GdiObjectTraits<HRGN>>;

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};
using UniqueMemoryDc = ScopedHandle<MemoryDcTraits>;

// A hook from SetWindowsHookEx.
struct HookTraits {
    using Handle = HHOOK;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { UnhookWindowsHookEx(h); }
};
using UniqueHook = ScopedHandle<HookTraits>;

// Memory that COM or the shell hands out to the caller (item id lists, for example).
template <typename Pointer>
struct CoTaskMemTraits {
    using Handle = Pointer;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CoTaskMemFree(h); }
};

// A menu from CreatePopupMenu that no window owns.
struct MenuTraits {
    using Handle = HMENU;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};
using UniqueMenu = ScopedHandle<MenuTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and restores the previous one at scope end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A COM interface pointer, released at scope end.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    Interface* get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void reset() {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }
    // For out-parameters (CoCreateInstance, QueryInterface).
    void** receive() {
        reset();
        return reinterpret_cast<void**>(&ptr_);
    }

private:
    Interface* ptr_ = nullptr;
};

// The thread's single-threaded COM apartment, for as long as this object lives.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

// Memory the system hands out with LocalAlloc (security descriptors, SIDs from their text).
template <typename Pointer>
struct LocalMemTraits {
    using Handle = Pointer;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};
using UniqueSecurityDescriptor = ScopedHandle<LocalMemTraits<PSECURITY_DESCRIPTOR>>;

}  // namespace setup::win32
