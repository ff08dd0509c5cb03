#pragma once

#include "platform/Applications.hpp"
#include "platform/fake/FakeEvent.hpp"
#include "platform/fake/FakeShell.hpp"

namespace zorlo {

// Records every application launch as the shell's launch event with the
// application's name, and answers what the fake shell answers, so that a
// script's shellresult governs both kinds of launch. Nothing is launched.
class FakeApplications : public Applications {
  public:
    FakeApplications(FakeEventLog& log, const FakeShell& shell) : log_(log), shell_(shell) {}
    long launch(const Application& app, const std::vector<Text>& arguments,
                const Text& folder) override;

  private:
    FakeEventLog& log_;
    const FakeShell& shell_;
};

} // namespace zorlo
