#include "ui/win32/MainWindow.hpp"

#include "platform/ConsoleEvents.hpp"
#include "platform/win32/Foreground.hpp"
#include "platform/win32/SingleInstance.hpp"
#include "platform/win32/WideText.hpp"
#include "ui/win32/Twips.hpp"

namespace zorlo::win32 {

namespace {

constexpr int kLabelId = 200;
constexpr int kTextId = 201;
constexpr int kIconId = 1;

constexpr COLORREF kTextColour = RGB(0, 192, 0);
constexpr COLORREF kBackColour = RGB(0, 0, 0);

RECT toPixels(const Rect& twips) {
    const int left = Twips::toPixelsX(twips.left);
    const int top = Twips::toPixelsY(twips.top);
    return RECT{left, top, left + Twips::toPixelsX(twips.width),
                top + Twips::toPixelsY(twips.height)};
}

void registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    if (windowClass.hIcon == nullptr) {
        windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    }
    windowClass.hIconSm = windowClass.hIcon;
    registerWindowClass(windowClass, MainWindow::kClassName, &ownedWindowProc<MainWindow>,
                        instance);
}

} // namespace

MainWindow::MainWindow(bool endsProgram) : endsProgram_(endsProgram) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance);
    background_ = CreateSolidBrush(kBackColour);
    constexpr DWORD style = WS_OVERLAPPEDWINDOW;
    RECT outer{0, 0, Twips::toPixelsX(kDesignClientWidth), Twips::toPixelsY(kDesignClientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    CreateWindowExW(0, kClassName, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance,
                    this);
}

MainWindow::~MainWindow() {
    console_ = nullptr;
    textArea_.attach(nullptr);
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    DeleteObject(background_);
}

void MainWindow::attach(ConsoleEvents* console) {
    console_ = console;
    textArea_.attach(console);
    if (console != nullptr) {
        SetTimer(window_, kTimerId, kTimerMs, nullptr);
    } else {
        KillTimer(window_, kTimerId);
    }
}

bool MainWindow::registerDropTarget(IDropTarget* target) {
    dropRegistered_ = SUCCEEDED(RegisterDragDrop(textArea_.handle(), target));
    return dropRegistered_;
}

void MainWindow::createControls() {
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    label_.create(window_, kLabelId, toPixels(kDesignLabel));
    textArea_.create(window_, kTextId, toPixels(kDesignTextArea));
    SendMessageW(label_.handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(textArea_.handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls();
        return 0;
    case WM_SIZE:
        if (console_ != nullptr) {
            console_->formResize();
        }
        return 0;
    case WM_TIMER:
        if (wParam == kTimerId && console_ != nullptr) {
            console_->timerTick();
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == textArea_.handle()) {
            textArea_.editChanged();
        }
        return 0;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == textArea_.handle()) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kTextColour);
            SetBkColor(dc, kBackColour);
            return reinterpret_cast<LRESULT>(background_);
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(textArea_.handle());
        }
        return 0;
    case WM_SETFOCUS:
        SetFocus(textArea_.handle());
        return 0;
    case kApplicationsMessage:
        if (console_ != nullptr && applications_ != nullptr) {
            if (auto list = applications_->take()) {
                console_->applicationsRead(std::move(*list));
            }
        }
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing to ask: the session's end saves like a close.
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            endSession();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kTimerId);
        if (dropRegistered_) {
            RevokeDragDrop(textArea_.handle());
            dropRegistered_ = false;
        }
        if (endsProgram_) {
            PostQuitMessage(0);
        }
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        if (message == SingleInstance::toggleMessage() && console_ != nullptr) {
            console_->togglePressed();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::close() {
    // Saving pumps events; a tick or a second close request arriving then must
    // not start the shutdown again.
    if (closing_ || window_ == nullptr) {
        return;
    }
    closing_ = true;
    KillTimer(window_, kTimerId);
    const bool closes = console_ == nullptr || console_->formUnload();
    if (!closes) {
        // The final save failed and the user kept the console, to mend the
        // folder and save again: it goes on as before, and a later close
        // runs the shutdown again.
        closing_ = false;
        SetTimer(window_, kTimerId, kTimerMs, nullptr);
        return;
    }
    DestroyWindow(window_);
}

void MainWindow::endSession() {
    if (window_ == nullptr) {
        return;
    }
    closing_ = true;
    KillTimer(window_, kTimerId);
    // Whatever waits in a box or the capture window never resumes, a close's
    // question included: the console saves the state as it stands (once more
    // where a close's save failed) and the program ends from here.
    const bool saved = console_ == nullptr || console_->endSession().empty();
    endProgram(saved ? 0 : 1);
}

void MainWindow::endProgram(UINT exitCode) {
    if (endsProgram_) {
        // Returning would go back into the interrupted command, and wine keeps
        // a program alive after the session's end.
        ExitProcess(exitCode);
    }
    DestroyWindow(window_);
}

void MainWindow::unload() {
    close();
}

void MainWindow::setCaption(const Text& caption) {
    SetWindowTextW(window_, toWide(caption).c_str());
}

void MainWindow::show() {
    ShowWindow(window_, SW_SHOW);
}

void MainWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

bool MainWindow::isVisible() const {
    return IsWindowVisible(window_) != FALSE;
}

bool MainWindow::isMinimized() const {
    return IsIconic(window_) != FALSE;
}

bool MainWindow::isForeground() const {
    return window_ != nullptr && GetForegroundWindow() == window_;
}

void MainWindow::bringToFront() {
    win32::bringToFront(window_);
}

void MainWindow::setForeground() {
    SetForegroundWindow(window_);
}

void MainWindow::leaveTopmost() {
    win32::leaveTopmost(window_);
}

RECT MainWindow::frame() const {
    RECT rect{};
    // A minimised window stands far off the screen; its place is the one it
    // comes back to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window_) && GetWindowPlacement(window_, &placement)) {
        return placement.rcNormalPosition;
    }
    GetWindowRect(window_, &rect);
    return rect;
}

int MainWindow::left() const {
    return Twips::fromPixelsX(frame().left);
}
int MainWindow::top() const {
    return Twips::fromPixelsY(frame().top);
}
int MainWindow::width() const {
    const RECT rect = frame();
    return Twips::fromPixelsX(rect.right - rect.left);
}
int MainWindow::height() const {
    const RECT rect = frame();
    return Twips::fromPixelsY(rect.bottom - rect.top);
}

void MainWindow::moveFrame(int x, int y, int w, int h, UINT flags) {
    // Size changes send WM_SIZE from inside SetWindowPos, so the resize
    // handling runs before the setter returns.
    SetWindowPos(window_, nullptr, x, y, w, h, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::setLeft(int twips) {
    moveFrame(Twips::toPixelsX(twips), frame().top, 0, 0, SWP_NOSIZE);
}

void MainWindow::setTop(int twips) {
    moveFrame(frame().left, Twips::toPixelsY(twips), 0, 0, SWP_NOSIZE);
}

void MainWindow::setWidth(int twips) {
    const RECT rect = frame();
    moveFrame(0, 0, Twips::toPixelsX(twips), rect.bottom - rect.top, SWP_NOMOVE);
}

void MainWindow::setHeight(int twips) {
    const RECT rect = frame();
    moveFrame(0, 0, rect.right - rect.left, Twips::toPixelsY(twips), SWP_NOMOVE);
}

int MainWindow::screenWidth() const {
    return Twips::fromPixelsX(GetSystemMetrics(SM_CXSCREEN));
}

int MainWindow::screenHeight() const {
    return Twips::fromPixelsY(GetSystemMetrics(SM_CYSCREEN));
}

Rect MainWindow::childRect(HWND child) const {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return Rect{Twips::fromPixelsX(rect.left), Twips::fromPixelsY(rect.top),
                Twips::fromPixelsX(rect.right - rect.left),
                Twips::fromPixelsY(rect.bottom - rect.top)};
}

void MainWindow::setChildRect(HWND child, const Rect& rect) {
    const RECT pixels = toPixels(rect);
    MoveWindow(child, pixels.left, pixels.top, pixels.right - pixels.left,
               pixels.bottom - pixels.top, TRUE);
}

Rect MainWindow::textAreaRect() const {
    return childRect(textArea_.handle());
}
void MainWindow::setTextAreaRect(const Rect& rect) {
    setChildRect(textArea_.handle(), rect);
}
Rect MainWindow::labelRect() const {
    return childRect(label_.handle());
}
void MainWindow::setLabelRect(const Rect& rect) {
    setChildRect(label_.handle(), rect);
}

} // namespace zorlo::win32
