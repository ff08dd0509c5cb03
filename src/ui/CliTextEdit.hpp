#pragma once

#include "ui/ActivityLog.hpp"

#include <QPlainTextEdit>

namespace zorlo {

class ConsoleEvents;
class KeyTranslator;

// The console's text area "txtCLI": output above, the command line after the
// last prompt. It hands keys, clicks and drops to the engine and otherwise
// behaves as a plain multi-line text box.
class CliTextEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit CliTextEdit(const KeyTranslator& keys, QWidget* parent = nullptr,
                         ActivityLog& log = ActivityLog::none());
    void setEvents(ConsoleEvents* events) { events_ = events; }
    bool hasPainted() const { return painted_; }

  signals:
    // The first prompt has reached the screen: work that can wait starts now.
    void firstPainted();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void followLongRuns(int from, int added);

    const KeyTranslator& keys_;
    ActivityLog& log_;
    ConsoleEvents* events_ = nullptr;
    bool painted_ = false;
};

} // namespace zorlo
