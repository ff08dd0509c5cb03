#pragma once

#include "platform/StatusLabel.hpp"

#include <windows.h>

namespace zorlo::win32 {

// lblInfo: a STATIC control. SS_NOPREFIX keeps an "&" in a status (a path, a
// web address) from turning into an underlined letter.
class Win32StatusLabel : public StatusLabel {
  public:
    void create(HWND parent, int id, const RECT& pixels);
    HWND handle() const { return label_; }

    Text caption() const override;
    void setCaption(const Text& caption) override;

  private:
    HWND label_ = nullptr;
};

} // namespace zorlo::win32
