#pragma once

#include <windows.h>

namespace zorlo::win32 {

// Registers a window class once per process; later calls find it registered.
// The caller fills in what is particular to the class; the size, procedure,
// instance and name are set here.
inline void registerWindowClass(WNDCLASSEXW windowClass, const wchar_t* name, WNDPROC procedure,
                                HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) {
        return;
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

// The window procedure of windows that belong to an object of Owner, which
// comes as CreateWindowExW's last argument: it is kept in the window's user
// data, learns its window's handle (Owner::window_) before any other message,
// and handles every message after that (Owner::handle). Owner makes this its
// friend.
template <typename Owner>
LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return owner->handle(message, wParam, lParam);
}

} // namespace zorlo::win32
