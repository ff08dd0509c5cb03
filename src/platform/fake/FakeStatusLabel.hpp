#pragma once

#include "platform/StatusLabel.hpp"

namespace zorlo {

class FakeStatusLabel : public StatusLabel {
  public:
    Text caption() const override { return caption_; }
    void setCaption(const Text& caption) override { caption_ = caption; }

  private:
    // The label's design text, until the console writes its first status.
    Text caption_ = u"Label1";
};

} // namespace zorlo
