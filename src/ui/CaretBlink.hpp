#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace zorlo {

// The text caret blinks while the user works with the console and holds still
// once nothing has happened for a while, as GTK desktops have it after ten
// seconds. A blinking caret repaints twice a second for as long as the window
// is in front, which would be most of what the console costs while it waits.
class CaretBlink : public QObject {
  public:
    explicit CaretBlink(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    ~CaretBlink() override;
    CaretBlink(const CaretBlink&) = delete;
    CaretBlink& operator=(const CaretBlink&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void wake();

    int flashTime_; // the desktop's own
    QTimer still_;
};

} // namespace zorlo
