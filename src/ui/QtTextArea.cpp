#include "ui/QtTextArea.hpp"

#include "platform/ConsoleEvents.hpp"
#include "ui/CliTextEdit.hpp"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace zorlo {

QtTextArea::QtTextArea(CliTextEdit& edit) : edit_(edit) {
    reveal_.setSingleShot(true);
    reveal_.setInterval(0);
    QObject::connect(&reveal_, &QTimer::timeout, &edit_, [this] { edit_.ensureCursorVisible(); });
    changed_ =
        QObject::connect(&edit_, &QPlainTextEdit::textChanged, &edit_, [this] { userChanged(); });
    // The document says where it changed before the widget says that it did.
    contents_ = QObject::connect(
        edit_.document(), &QTextDocument::contentsChange, &edit_,
        [this](int from, int removed, int added) { contentsChanged(from, removed, added); });
}

QtTextArea::~QtTextArea() {
    QObject::disconnect(changed_);
    QObject::disconnect(contents_);
}

void QtTextArea::contentsChanged(int from, int /*removed*/, int added) {
    sameHead_ = std::min(sameHead_, from);
    sameTail_ = std::min(sameTail_, edit_.document()->characterCount() - (from + added));
}

TextArea::Unchanged QtTextArea::takeUnchanged() {
    const QTextDocument* document = edit_.document();
    const int widgetLength = document->characterCount() - 1;
    const int head = std::clamp(sameHead_, 0, widgetLength);
    // The closing separator is no character of the engine's text.
    const int tail = std::clamp(sameTail_ - 1, 0, widgetLength - head);
    const int length = this->length();
    sameHead_ = document->characterCount();
    sameTail_ = document->characterCount();
    return Unchanged{toEnginePosition(head), length - toEnginePosition(widgetLength - tail)};
}

void QtTextArea::userChanged() {
    if (ownWrites_ == 0 && events_ != nullptr) {
        events_->textChange();
    }
}

// Moving the widget's cursor makes it compute the caret's place and scroll to
// it; the engine sets the caret several times per output line, mostly where it
// already is, so only real moves reach the widget.
void QtTextArea::place(const QTextCursor& cursor) {
    if (detached_) {
        return;
    }
    const QTextCursor current = edit_.textCursor();
    if (current.position() != cursor.position() || current.anchor() != cursor.anchor()) {
        edit_.setTextCursor(cursor);
    }
}

template <typename Edit> void QtTextArea::write(Edit&& edit) {
    if (detached_) {
        return;
    }
    ++ownWrites_;
    edit();
    --ownWrites_;
    // A command writes many lines at once; the view follows the caret once,
    // when the event loop next runs, instead of scrolling for every line.
    if (!reveal_.isActive()) {
        reveal_.start();
    }
    if (events_ != nullptr) {
        events_->textChange();
    }
}

QString QtTextArea::toWidgetText(const Text& text) {
    QString widget = QString::fromStdU16String(text);
    widget.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    widget.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return widget;
}

Text QtTextArea::text() const {
    QString raw = edit_.document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return raw.toStdU16String();
}

int QtTextArea::length() const {
    const QTextDocument* document = edit_.document();
    // characterCount counts the closing separator of the last paragraph too.
    return document->characterCount() - 1 + (document->blockCount() - 1);
}

int QtTextArea::toEnginePosition(int widgetPosition) const {
    const QTextDocument* document = edit_.document();
    const int clamped = std::clamp(widgetPosition, 0, document->characterCount() - 1);
    return clamped + document->findBlock(clamped).blockNumber();
}

int QtTextArea::toWidgetPosition(int enginePosition) const {
    const QTextDocument* document = edit_.document();
    const int position = std::clamp(enginePosition, 0, length());
    // Paragraph b starts at engine position (its widget position + b): find the
    // last paragraph that starts at or before the position.
    int low = 0;
    int high = document->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (document->findBlockByNumber(middle).position() + middle <= position) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    const QTextBlock block = document->findBlockByNumber(low);
    const int intoLine = position - (block.position() + low);
    // A position between CR and LF falls back to the end of the line.
    return block.position() + std::min(intoLine, block.length() - 1);
}

void QtTextArea::setText(const Text& text) {
    write([&] {
        QTextCursor cursor(edit_.document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(toWidgetText(text));
        cursor.endEditBlock();
        // A text box puts the caret at the start when its whole text is set.
        cursor.setPosition(0);
        place(cursor);
    });
}

int QtTextArea::caret() const {
    return toEnginePosition(edit_.textCursor().selectionStart());
}

void QtTextArea::setCaret(int position) {
    QTextCursor cursor = edit_.textCursor();
    cursor.setPosition(toWidgetPosition(position));
    place(cursor);
}

int QtTextArea::selLength() const {
    const QTextCursor cursor = edit_.textCursor();
    return toEnginePosition(cursor.selectionEnd()) - toEnginePosition(cursor.selectionStart());
}

void QtTextArea::setSelLength(int length) {
    QTextCursor cursor = edit_.textCursor();
    const int start = cursor.selectionStart();
    const int end = toWidgetPosition(toEnginePosition(start) + std::max(length, 0));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    place(cursor);
}

void QtTextArea::replaceSelection(const Text& text) {
    write([&] {
        QTextCursor cursor = edit_.textCursor();
        cursor.beginEditBlock();
        cursor.insertText(toWidgetText(text));
        cursor.endEditBlock();
        place(cursor);
    });
}

Text QtTextArea::textFrom(int position) const {
    return textBetween(position, length());
}

// Read paragraph by paragraph, never through a text cursor: placing a cursor
// lays its paragraph out again, which on a long line costs more than the key.
Text QtTextArea::textBetween(int from, int to) const {
    const int length = this->length();
    const int start = std::clamp(from, 0, length);
    const int end = std::clamp(to, start, length);
    Text out;
    out.reserve(static_cast<std::size_t>(end - start));
    const QTextDocument* document = edit_.document();
    // Engine position of the paragraph's start: its widget position plus one
    // more unit for every line break before it.
    QTextBlock block = document->findBlock(toWidgetPosition(start));
    int at = block.position() + block.blockNumber();
    while (block.isValid() && at < end) {
        const int lineLength = block.length() - 1;
        const int first = std::max(start - at, 0);
        const int last = std::min(end - at, lineLength);
        if (last - first > 64) {
            const QString line = block.text();
            out.append(reinterpret_cast<const char16_t*>(line.constData()) + first,
                       static_cast<std::size_t>(last - first));
        } else {
            for (int i = first; i < last; ++i) {
                out.push_back(document->characterAt(block.position() + i).unicode());
            }
        }
        if (block.next().isValid()) {
            // The paragraph's break: CR at the line's end, LF after it.
            for (int i = std::max(lineLength, first); i < std::min(end - at, lineLength + 2); ++i) {
                out.push_back(i == lineLength ? CR : LF);
            }
        }
        at += lineLength + 2;
        block = block.next();
    }
    return out;
}

int QtTextArea::lastIndexOf(TextView needle) const {
    if (needle.empty()) {
        return length();
    }
    if (needle.find_first_of(u"\r\n") != TextView::npos) {
        return TextArea::lastIndexOf(needle); // spans lines: rare, so the plain search does
    }
    const QString wanted = QString::fromStdU16String(Text(needle));
    // The prompt sits in the last lines, so the search goes back line by line.
    for (QTextBlock block = edit_.document()->lastBlock(); block.isValid();
         block = block.previous()) {
        const int at = block.text().lastIndexOf(wanted);
        if (at >= 0) {
            return block.position() + block.blockNumber() + at;
        }
    }
    return -1;
}

void QtTextArea::replaceStart(int count, const Text& head) {
    write([&] {
        QTextCursor cursor(edit_.document());
        cursor.beginEditBlock();
        cursor.setPosition(0);
        cursor.setPosition(toWidgetPosition(count), QTextCursor::KeepAnchor);
        cursor.insertText(toWidgetText(head));
        cursor.endEditBlock();
        cursor.setPosition(0);
        place(cursor);
    });
}

} // namespace zorlo
