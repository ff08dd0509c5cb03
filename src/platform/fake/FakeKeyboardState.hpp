#pragma once

#include "platform/KeyboardState.hpp"

#include <set>

namespace zorlo {

class FakeKeyboardState : public KeyboardState {
  public:
    void setDown(int virtualKey, bool down) {
        if (down) {
            down_.insert(virtualKey);
        } else {
            down_.erase(virtualKey);
        }
    }
    bool isKeyDown(int virtualKey) const override { return down_.count(virtualKey) > 0; }

  private:
    std::set<int> down_;
};

} // namespace zorlo
