#pragma once

#include <QWidget>

namespace zorlo {

class Foreground;
class HotkeyCapture;
class KeyTranslator;

// The hotkey capture window "frmKey": caption "Zorlo Hotkey", the label
// "Press Hotkey", no buttons. It hands each key-down to the capture as a
// Windows virtual-key code with its shift state; the user closing it ends the
// capture without a key.
class FrmKey : public QWidget {
    Q_OBJECT

  public:
    FrmKey(Foreground& foreground, const KeyTranslator& keys);

    // Shows the window with its outer top-left corner at the place, in pixels.
    void open(HotkeyCapture& capture, int left, int top);
    // Closes it on the program's behalf: the capture is not told.
    void shut();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Foreground& foreground_;
    const KeyTranslator& keys_;
    HotkeyCapture* capture_ = nullptr;
};

} // namespace zorlo
