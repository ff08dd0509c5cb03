#pragma once

#include "platform/ProcessStarter.hpp"
#include "platform/fake/FakeEvent.hpp"

namespace zorlo {

// Records every start of a command prompt; when told to fail, it fails the way
// a real start does, with a Failure that describes why.
class FakeProcessStarter : public ProcessStarter {
  public:
    // The window style that every start asks for: a normal window with the focus.
    static constexpr int kNormalFocus = 1;

    explicit FakeProcessStarter(FakeEventLog& log) : log_(log) {}
    void setFails(bool fails) { fails_ = fails; }
    long startShell(const Text& commandLine, const Text& folder) override;
    const Text& lastFolder() const { return lastFolder_; }

  private:
    FakeEventLog& log_;
    bool fails_ = false;
    long nextTask_ = 1;
    Text lastFolder_;
};

} // namespace zorlo
