#pragma once

#include "platform/TextArea.hpp"

#include <QMetaObject>
#include <QString>
#include <QTextCursor>
#include <QTimer>

namespace zorlo {

class CliTextEdit;
class ConsoleEvents;

// The engine's view of txtCLI. The widget keeps one paragraph separator per
// line break; the engine counts CR LF, two units. Text and caret positions are
// converted both ways here. Every change runs the engine's change handling
// exactly once: the user's edits through the widget's signal, the program's own
// writes right after the write (the signal is ignored meanwhile, so nothing runs twice).
class QtTextArea : public TextArea {
  public:
    explicit QtTextArea(CliTextEdit& edit);
    ~QtTextArea() override;
    QtTextArea(const QtTextArea&) = delete;
    QtTextArea& operator=(const QtTextArea&) = delete;
    void setEvents(ConsoleEvents* events) { events_ = events; }
    // The program is ending and the display may be gone: writes and caret
    // moves no longer reach the widget, which stays as it was.
    void detach() { detached_ = true; }

    Text text() const override;
    int length() const override;
    void setText(const Text& text) override;
    int caret() const override;
    void setCaret(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    void replaceSelection(const Text& text) override;
    Text textFrom(int position) const override;
    Text textBetween(int from, int to) const override;
    Unchanged takeUnchanged() override;
    int lastIndexOf(TextView needle) const override;
    void replaceStart(int count, const Text& head) override;

    // Engine text as the widget holds it: each CR LF, lone CR or lone LF one break.
    static QString toWidgetText(const Text& text);
    int toEnginePosition(int widgetPosition) const;
    int toWidgetPosition(int enginePosition) const;

  private:
    template <typename Edit> void write(Edit&& edit);
    void userChanged();
    void place(const QTextCursor& cursor);
    void contentsChanged(int from, int removed, int added);

    CliTextEdit& edit_;
    ConsoleEvents* events_ = nullptr;
    int ownWrites_ = 0;
    bool detached_ = false;
    QMetaObject::Connection changed_;
    QMetaObject::Connection contents_;
    // In the widget's positions, counting the closing paragraph separator:
    // unchanged since the last takeUnchanged, nothing known before the first.
    int sameHead_ = 0;
    int sameTail_ = 0;
    QTimer reveal_;
};

} // namespace zorlo
