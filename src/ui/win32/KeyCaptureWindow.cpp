#include "ui/win32/KeyCaptureWindow.hpp"

#include "platform/HotkeyCapture.hpp"
#include "ui/win32/ShiftState.hpp"
#include "ui/win32/Twips.hpp"

namespace zorlo::win32 {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

void registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    registerWindowClass(windowClass, KeyCaptureWindow::kClassName,
                        &ownedWindowProc<KeyCaptureWindow>, instance);
}

} // namespace

KeyCaptureWindow::~KeyCaptureWindow() {
    close();
}

void KeyCaptureWindow::show(HotkeyCapture& capture, int leftTwips, int topTwips) {
    close();
    capture_ = &capture;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance);
    RECT outer{0, 0, Twips::toPixelsX(kCaptureClientWidth), Twips::toPixelsY(kCaptureClientHeight)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, WS_EX_TOOLWINDOW);
    window_ =
        CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, kStyle, Twips::toPixelsX(leftTwips),
                        Twips::toPixelsY(topTwips), outer.right - outer.left,
                        outer.bottom - outer.top, owner_, nullptr, instance, this);
    const HWND label = CreateWindowExW(
        0, L"STATIC", L"Press Hotkey", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
        Twips::toPixelsX(kCaptureLabel.left), Twips::toPixelsY(kCaptureLabel.top),
        Twips::toPixelsX(kCaptureLabel.width), Twips::toPixelsY(kCaptureLabel.height), window_,
        nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
}

void KeyCaptureWindow::close() {
    capture_ = nullptr;
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT KeyCaptureWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Alt combinations arrive as system keys; they are captured like any
        // other, and never reach the window menu.
        if (capture_ != nullptr) {
            capture_->formKeyDown(static_cast<int>(wParam), shiftFromKeyboard());
        }
        return 0;
    case WM_SYSCHAR:
        return 0;
    case WM_CLOSE:
        if (capture_ != nullptr) {
            capture_->formClosed();
        }
        close();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace zorlo::win32
