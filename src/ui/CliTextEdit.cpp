#include "ui/CliTextEdit.hpp"

#include "platform/ConsoleEvents.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/QtDroppedData.hpp"

#include <QMimeData>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTimer>

namespace zorlo {

namespace {

// A paragraph holding a longer stretch than this with no place to break a
// line at is laid out breaking anywhere. Below it, breaking at words first
// costs a few milliseconds more per layout; above it, the cost grows with the
// square of the stretch (Qt looks for the end of the word again on every line).
constexpr int kLongRun = 10000;

// Whether the text holds more than kLongRun characters in a row where the
// line breaking rules allow no break. Blanks are looked for first, as that
// is cheap and ordinary text has them every few characters.
bool hasLongRun(const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text[i].isSpace()) {
            continue;
        }
        if (i - start > kLongRun) {
            QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text.constData() + start,
                                       i - start);
            qsizetype last = 0;
            for (qsizetype at = breaks.toNextBoundary(); at != -1; at = breaks.toNextBoundary()) {
                if (at - last > kLongRun) {
                    return true;
                }
                last = at;
            }
        }
        start = i + 1;
    }
    return false;
}

} // namespace

CliTextEdit::CliTextEdit(const KeyTranslator& keys, QWidget* parent, ActivityLog& log)
    : QPlainTextEdit(parent), keys_(keys), log_(log) {
    setObjectName(QStringLiteral("txtCLI"));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(0, 0, 0));
    colours.setColor(QPalette::Text, QColor(0, 192, 0));
    setPalette(colours);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The document announces a change before it lays the changed text out, so
    // the wrap mode is right by the time that layout runs.
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int from, int /*removed*/, int added) { followLongRuns(from, added); });
    // Undo would bring back program output piecemeal behind the engine's back.
    setUndoRedoEnabled(false);
    setAcceptDrops(true);
}

// Breaking at words with breaking anywhere as the fallback takes time that
// grows with the square of a stretch without a break opportunity (a pasted
// blob or address): 200,000 such characters take seconds. While the pane
// holds such a stretch, every line breaks where the width runs out instead.
// The stretch breaks where it did; the text beside it, and any other line
// wider than the pane, breaks inside words until the stretch is gone.
void CliTextEdit::followLongRuns(int from, int added) {
    const QTextDocument* text = document();
    if (wordWrapMode() != QTextOption::WrapAnywhere) {
        // Only the paragraphs just written can have brought a long stretch in.
        for (QTextBlock block = text->findBlock(from);
             block.isValid() && block.position() <= from + added; block = block.next()) {
            if (block.length() > kLongRun && hasLongRun(block.text())) {
                setWordWrapMode(QTextOption::WrapAnywhere);
                return;
            }
        }
        return;
    }
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        if (block.length() > kLongRun && hasLongRun(block.text())) {
            return;
        }
    }
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void CliTextEdit::keyPressEvent(QKeyEvent* event) {
    if (events_ != nullptr) {
        int key = keys_.virtualKey(*event);
        const int pressed = key;
        events_->textKeyDown(key, KeyTranslator::shiftState(event->modifiers()));
        if (pressed != 0 && key == 0) {
            event->accept();
            return;
        }
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Shift+Enter would insert a line separator inside the paragraph; the
        // engine knows one kind of line break only.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), event->count());
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CliTextEdit::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its key-down only; the key goes up once, when released.
    if (events_ != nullptr && !event->isAutoRepeat()) {
        events_->textKeyUp(keys_.virtualKey(*event), KeyTranslator::shiftState(event->modifiers()));
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void CliTextEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The widget finishes its own selection first, so the engine sees whether one was made.
    QPlainTextEdit::mouseReleaseEvent(event);
    if (events_ != nullptr) {
        events_->textMouseUp(KeyTranslator::mouseButton(event->button()),
                             KeyTranslator::shiftState(event->modifiers()));
    }
}

void CliTextEdit::dragEnterEvent(QDragEnterEvent* event) {
    // Every drop is taken; the engine decides what it can use and says so.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CliTextEdit::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CliTextEdit::dropEvent(QDropEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (events_ == nullptr || event->mimeData() == nullptr) {
        return;
    }
    // The drag source waits until the drop returns; the engine may ask for a
    // name in a modal box, so it runs once the drag has been let go.
    QtDroppedData dropped(*event->mimeData());
    const int shift = KeyTranslator::shiftState(event->modifiers());
    QTimer::singleShot(0, this, [this, dropped, shift] {
        if (events_ != nullptr) {
            events_->textDrop(dropped, shift);
        }
    });
}

void CliTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Pasted text may hold line separators; the engine counts only paragraph breaks.
    QString text = source->text();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

void CliTextEdit::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    // Start-up is measured up to the moment the first prompt reaches the screen.
    if (!painted_ && !document()->isEmpty()) {
        painted_ = true;
        log_.note("painted");
        emit firstPainted();
    }
}

} // namespace zorlo
