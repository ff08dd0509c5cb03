#include "ui/win32/InputBox.hpp"

#include "platform/win32/WideText.hpp"

#include <vector>

namespace zorlo::win32 {

namespace {

// Classes of dialog items by their predefined atoms.
constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

// Dialog units of the box and its items.
constexpr short kWidth = 240;
constexpr short kHeight = 88;

struct State {
    const std::wstring* prompt;
    const std::wstring* title;
    const std::wstring* defaultText;
    int left;
    int top;
    std::wstring answer;
};

// Writes a DLGTEMPLATE and its items; the layout rules (DWORD alignment of
// every item, strings in place) are those of DialogBoxIndirect.
class TemplateWriter {
  public:
    void header(DWORD style, WORD items, short cx, short cy) {
        dword(style);
        dword(0); // extended style
        word(items);
        word(0); // x, y: placed in WM_INITDIALOG
        word(0);
        word(static_cast<WORD>(cx));
        word(static_cast<WORD>(cy));
        word(0); // no menu
        word(0); // the standard dialog class
        text(L"");
        word(8); // DS_SETFONT: point size, then the face
        text(L"MS Shell Dlg");
    }

    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
        align();
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        word(static_cast<WORD>(x));
        word(static_cast<WORD>(y));
        word(static_cast<WORD>(cx));
        word(static_cast<WORD>(cy));
        word(id);
        word(0xFFFF);
        word(atom);
        text(atom == kButton ? (id == IDOK ? L"OK" : L"Cancel") : L"");
        word(0); // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void word(WORD value) { words_.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(const wchar_t* value) {
        for (; *value != L'\0'; ++value) {
            word(static_cast<WORD>(*value));
        }
        word(0);
    }
    void align() {
        if (words_.size() % 2 != 0) {
            word(0);
        }
    }

    std::vector<WORD> words_;
};

void place(HWND dialog, int left, int top) {
    RECT rect{};
    GetWindowRect(dialog, &rect);
    if (left < 0 || top < 0) {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        left = (screenWidth - (rect.right - rect.left)) / 2;
        top = (screenHeight - (rect.bottom - rect.top)) / 3;
    }
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<State*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, state->title->c_str());
        SetDlgItemTextW(dialog, InputBox::kPromptId, state->prompt->c_str());
        SetDlgItemTextW(dialog, InputBox::kEntryId, state->defaultText->c_str());
        place(dialog, state->left, state->top);
        SetForegroundWindow(dialog);
        const HWND entry = GetDlgItem(dialog, InputBox::kEntryId);
        SendMessageW(entry, EM_SETSEL, 0, -1);
        SetFocus(entry);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const HWND entry = GetDlgItem(dialog, InputBox::kEntryId);
            state->answer = toWide(windowText(entry));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

std::optional<std::wstring> InputBox::show(HWND owner, const std::wstring& prompt,
                                           const std::wstring& title,
                                           const std::wstring& defaultText, int left, int top) {
    TemplateWriter writer;
    writer.header(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, kWidth,
                  kHeight);
    writer.item(SS_LEFT | SS_NOPREFIX, 7, 7, 170, 52, kPromptId, kStatic);
    writer.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 185, 7, 48, 14, IDOK, kButton);
    writer.item(BS_PUSHBUTTON | WS_TABSTOP, 185, 25, 48, 14, IDCANCEL, kButton);
    writer.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 66, 226, 14, kEntryId, kEdit);

    State state{&prompt, &title, &defaultText, left, top, {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.get(), owner,
                                                   dialogProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) {
        return std::nullopt;
    }
    return state.answer;
}

} // namespace zorlo::win32
