#include "console/Console.hpp"

namespace zorlo {

namespace {
constexpr int kPaneLimit = 64000;
constexpr int kKeptTail = 55000;
constexpr TextView kCutMarker = u"(**TRUNCATED**)";
constexpr TextView kIndent = u"  ";
} // namespace

void Console::placeCaretAtEnd() {
    d_.textArea.setCaret(d_.textArea.length());
    d_.textArea.setSelLength(0);
}

void Console::writeOutput(const Text& text) {
    Text insert = oleDrop ? Text(u"OLE Drop\r\n") : Text();
    insert.reserve(insert.size() + text.size() + 16);
    insert += kIndent;
    for (std::size_t i = 0; i < text.size(); ++i) {
        insert.push_back(text[i]);
        if (text[i] == CR && i + 1 < text.size() && text[i + 1] == LF) {
            insert.push_back(LF);
            ++i;
            insert += kIndent;
        }
    }
    insert += CRLF;
    if (d_.textArea.length() == static_cast<int>(prompt.size()) &&
        equalsIgnoreCase(d_.textArea.textFrom(0), prompt)) {
        d_.textArea.setText(Text());
    }
    placeCaretAtEnd();
    d_.textArea.replaceSelection(insert);
    const int length = d_.textArea.length();
    if (length > kPaneLimit) {
        d_.textArea.replaceStart(length - kKeptTail, Text(kCutMarker));
    }
    placeCaretAtEnd();
}

void Console::Stat(const Text& message) {
    if (!message.empty()) {
        d_.label.setCaption(message);
        writeOutput(message);
    } else {
        d_.label.setCaption(u"Ready");
    }
    if (!ending_) {
        d_.pump.doEvents();
    }
    endCompletion();
}

void Console::giveBackLine(const Text& halfTyped) {
    const int n = d_.textArea.length();
    if (n > 0 && d_.textArea.textFrom(n - 1) == Text(1, LF)) {
        appendText(getPrompt() + halfTyped);
    }
    cmdLine = halfTyped;
}

void Console::appendText(const Text& text) {
    placeCaretAtEnd();
    d_.textArea.replaceSelection(text);
    placeCaretAtEnd();
}

} // namespace zorlo
