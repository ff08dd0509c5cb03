#pragma once

#include "platform/Shell.hpp"
#include "platform/fake/FakeEvent.hpp"

namespace zorlo {

// Records every open and answers with the configured result code; nothing is
// ever launched.
class FakeShell : public Shell {
  public:
    explicit FakeShell(FakeEventLog& log) : log_(log) {}
    void setResult(long result) { result_ = result; }
    long result() const { return result_; }
    long open(const Text& file, const Text& parameters, const Text& directory) override;

  private:
    FakeEventLog& log_;
    long result_ = 42;
};

} // namespace zorlo
