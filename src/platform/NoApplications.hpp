#pragma once

#include "platform/Applications.hpp"

namespace zorlo {

// A desktop whose applications are not read (yet): it lists none, so the
// console never offers one, and a launch that somehow reaches it fails as a
// missing file would.
class NoApplications : public Applications {
  public:
    long launch(const Application& /*app*/, const std::vector<Text>& /*arguments*/,
                const Text& /*folder*/) override {
        return 2;
    }
};

} // namespace zorlo
