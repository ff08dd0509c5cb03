#pragma once

#include "platform/CaptureWindow.hpp"

namespace zorlo {

class FrmKey;

// The engine's view of frmKey; places arrive in twips.
class QtCaptureWindow : public CaptureWindow {
  public:
    explicit QtCaptureWindow(FrmKey& window) : window_(window) {}
    void show(HotkeyCapture& capture, int leftTwips, int topTwips) override;
    void close() override;

  private:
    FrmKey& window_;
};

} // namespace zorlo
