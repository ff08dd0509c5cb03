#include "ui/QtTextArea.hpp"

#include "ui/CliTextEdit.hpp"
#include "ui/ConsoleEvents.hpp"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace zorlo {

QtTextArea::QtTextArea(CliTextEdit& edit) : edit_(edit) {
    changed_ =
        QObject::connect(&edit_, &QPlainTextEdit::textChanged, &edit_, [this] { userChanged(); });
}

QtTextArea::~QtTextArea() {
    QObject::disconnect(changed_);
}

void QtTextArea::userChanged() {
    if (ownWrites_ == 0 && events_ != nullptr) {
        events_->textChange();
    }
}

template <typename Edit> void QtTextArea::write(Edit&& edit) {
    ++ownWrites_;
    edit();
    --ownWrites_;
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
        edit_.setTextCursor(cursor);
    });
}

int QtTextArea::caret() const {
    return toEnginePosition(edit_.textCursor().selectionStart());
}

void QtTextArea::setCaret(int position) {
    QTextCursor cursor = edit_.textCursor();
    cursor.setPosition(toWidgetPosition(position));
    edit_.setTextCursor(cursor);
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
    edit_.setTextCursor(cursor);
}

void QtTextArea::replaceSelection(const Text& text) {
    write([&] {
        QTextCursor cursor = edit_.textCursor();
        cursor.beginEditBlock();
        cursor.insertText(toWidgetText(text));
        cursor.endEditBlock();
        edit_.setTextCursor(cursor);
    });
}

} // namespace zorlo
