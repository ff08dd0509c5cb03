#include "console/Console.hpp"

namespace zorlo {

namespace {
constexpr std::size_t kPaneLimit = 64000;
constexpr std::size_t kKeptTail = 55000;
constexpr TextView kCutMarker = u"(**TRUNCATED**)";
constexpr TextView kIndent = u"  ";
} // namespace

void Console::placeCaretAtEnd() {
    d_.textArea.setCaret(d_.textArea.length());
    d_.textArea.setSelLength(0);
}

void Console::writeOutput(const Text& text) {
    Text indented(kIndent);
    indented.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        indented.push_back(text[i]);
        if (text[i] == CR && i + 1 < text.size() && text[i + 1] == LF) {
            indented.push_back(LF);
            ++i;
            indented.append(kIndent);
        }
    }
    if (equalsIgnoreCase(d_.textArea.text(), prompt)) {
        d_.textArea.setText(Text());
    }
    Text insert = oleDrop ? Text(u"OLE Drop\r\n") : Text();
    insert += indented;
    insert += CRLF;
    placeCaretAtEnd();
    d_.textArea.replaceSelection(insert);
    if (static_cast<std::size_t>(d_.textArea.length()) > kPaneLimit) {
        const Text all = d_.textArea.text();
        d_.textArea.setText(Text(kCutMarker) + all.substr(all.size() - kKeptTail));
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
    d_.pump.doEvents();
    complIndex = 0;
    complWord.clear();
}

void Console::appendText(const Text& text) {
    placeCaretAtEnd();
    d_.textArea.replaceSelection(text);
    placeCaretAtEnd();
}

} // namespace zorlo
