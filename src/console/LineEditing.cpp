#include "console/Console.hpp"

#include "platform/KeyCodes.hpp"
#include "store/Pattern.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo {

void Console::txtCLI_Change() {
    if (busy) {
        return;
    }
    const TextArea::Unchanged same = d_.textArea.takeUnchanged();
    const int n = d_.textArea.length();
    if (n > 0 && d_.textArea.textFrom(n - 1) == Text(1, LF)) {
        if (!cmdLine.empty()) {
            runCommand();
        } else {
            Stat();
        }
        cmdLine.clear();
        lineRead_ = -1;
        appendText(getPrompt());
    } else if (pendingLine.empty()) {
        readCommandLine(n, same);
    } else {
        const int promptAt = d_.textArea.lastIndexOf(prompt);
        // Without any prompt character the line is the whole text, and a
        // replacement starts at its beginning.
        const int lineStart = promptAt < 0 ? 0 : promptAt + static_cast<int>(prompt.size());
        const BusyGuard replacing(*this);
        d_.textArea.setCaret(lineStart);
        d_.textArea.setSelLength(n - lineStart);
        d_.textArea.replaceSelection(pendingLine);
        cmdLine = pendingLine;
        lineRead_ = -1;
    }
    if (d_.textArea.length() == 0) {
        d_.textArea.setText(prompt);
        cmdLine.clear();
        lineRead_ = -1;
    }
    pendingLine.clear();
}

// Each key would otherwise read the whole line back, and search it for the
// prompt: typing a long line would take time that grows with the square of its
// length. When the change lies inside the line as last read, only the changed
// part is read, searched and spliced into cmdLine.
void Console::readCommandLine(int n, TextArea::Unchanged same) {
    // A prompt of one character cannot straddle the edges of the changed part.
    if (lineRead_ < 0 || prompt.size() != 1 || same.head < lineRead_) {
        const int promptAt = d_.textArea.lastIndexOf(prompt);
        // Without any prompt character the line is the whole text.
        lineRead_ = promptAt < 0 ? 0 : promptAt + static_cast<int>(prompt.size());
        cmdLine = d_.textArea.textFrom(lineRead_);
        return;
    }
    const int before = lineRead_ + static_cast<int>(cmdLine.size()); // the text's length then
    const int head = std::min({same.head, n, before});
    const int tail = std::min(same.tail, std::min(n, before) - head);
    const Text changed = d_.textArea.textBetween(head, n - tail);
    const std::size_t promptAt = changed.rfind(prompt);
    if (promptAt == Text::npos) {
        cmdLine.replace(static_cast<std::size_t>(head - lineRead_),
                        static_cast<std::size_t>(before - tail - head), changed);
    } else {
        cmdLine = changed.substr(promptAt + 1) +
                  cmdLine.substr(cmdLine.size() - static_cast<std::size_t>(tail));
        lineRead_ = head + static_cast<int>(promptAt) + 1;
    }
}

void Console::txtCLI_KeyDown(int& keyCode, int /*shift*/) {
    switch (keyCode) {
    case vk::Enter:
        d_.textArea.setCaret(d_.textArea.length());
        d_.textArea.setSelLength(0);
        break;
    case vk::Up:
        keyCode = 0;
        if (recallPos >= 1) {
            pendingLine = recall[static_cast<std::size_t>(recallPos)];
            --recallPos;
            txtCLI_Change();
        }
        break;
    case vk::Down:
        keyCode = 0;
        if (recallPos < recallCount) {
            ++recallPos;
            pendingLine = recall[static_cast<std::size_t>(recallPos)];
            txtCLI_Change();
        }
        break;
    default:
        break;
    }
}

void Console::txtCLI_KeyUp(int keyCode, int shift) {
    if (busy) {
        return;
    }
    const auto lineStart = [this] {
        return d_.textArea.length() - static_cast<int>(cmdLine.size());
    };
    if (keyCode == vk::Escape) {
        if (!cmdLine.empty()) {
            completionStep();
            placeCaretAtEnd();
        }
    } else if (keyCode == vk::Home) {
        d_.pump.doEvents();
        placeCaretAtEnd();
        d_.textArea.setCaret(lineStart());
        if (shift == ShiftState::Shift) {
            d_.textArea.setSelLength(static_cast<int>(cmdLine.size()));
        }
    } else if (shift == ShiftState::Alt) {
        placeCaretAtEnd();
    } else {
        if (d_.textArea.caret() < lineStart()) {
            d_.textArea.setCaret(d_.textArea.length());
        }
        endCompletion();
    }
}

void Console::txtCLI_MouseUp(int /*button*/, int /*shift*/) {
    if (d_.textArea.selLength() < 1 &&
        d_.textArea.caret() < d_.textArea.length() - static_cast<int>(cmdLine.size())) {
        d_.textArea.setCaret(d_.textArea.length());
    }
}

void Console::completionStep() {
    // A line that cannot be split, or whose last word is no valid pattern,
    // offers nothing: the line and the status stay as they are.
    try {
        parseArgs(cmdLine, args);
    } catch (const Failure&) {
        return;
    }
    const int n = args.argCount;
    if (complIndex == 0) {
        complWord = args[n];
    } else {
        args[n] = complWord;
    }
    const Text w = args[n];
    std::optional<Pattern> pattern;
    try {
        pattern.emplace(w);
    } catch (const Failure&) {
        return;
    }
    Text prefix;
    for (int i = 1; i < n; ++i) {
        prefix += quoteWord(args[i]);
        prefix += u' ';
    }
    const auto offers = [&](TextView stored) {
        return pattern->matches(stored.substr(0, w.size()));
    };

    if (complIndex < static_cast<int>(macros.count())) {
        if (const std::size_t pos =
                findPrefixMatch(macros, w, static_cast<std::size_t>(std::max(complIndex, 0)))) {
            const Text name(macros.at(pos).NAME);
            pendingLine = prefix + quoteWord(name);
            d_.label.setCaption(u"'" + name + u"' from MACROS");
            complIndex = static_cast<int>(pos);
            txtCLI_Change();
            return;
        }
    }
    if (complIndex == 0) {
        complIndex = 1;
    }
    const auto offerHistory = [&](const Text& h) {
        pendingLine = prefix + quoteWord(h);
        d_.label.setCaption(u"'" + h + u"' from HISTORY");
        complHistory = h;
        txtCLI_Change();
    };
    if (complStage == ComplStage::Apps && offerNextApp(w, prefix)) {
        return;
    }
    const Text h = history->getHistory(w);
    if (complStage == ComplStage::History) {
        if (offers(h) && h != complHistory) {
            offerHistory(h);
            return;
        }
        // The history has nothing (more) for the word: the applications follow.
        complStage = ComplStage::Apps;
        if (offerNextApp(w, prefix)) {
            return;
        }
    }
    // Where the history rests: its newest entry offered again, or nothing.
    if (offers(h)) {
        offerHistory(h);
    }
}

} // namespace zorlo
