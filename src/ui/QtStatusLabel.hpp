#pragma once

#include "platform/StatusLabel.hpp"

class QLabel;

namespace zorlo {

// lblInfo. Shows captions as plain text: a file name with angle brackets must
// not turn into markup.
class QtStatusLabel : public StatusLabel {
  public:
    explicit QtStatusLabel(QLabel& label);
    Text caption() const override;
    void setCaption(const Text& caption) override;
    // The display may be gone: captions are kept here and the label stays as it was.
    void detach();

  private:
    QLabel& label_;
    bool detached_ = false;
    Text caption_;
};

} // namespace zorlo
