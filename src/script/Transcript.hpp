#pragma once

#include "platform/fake/FakeEvent.hpp"

#include <nlohmann/json.hpp>

#include <ostream>

namespace zorlo {
struct ConsoleSnapshot;
class FakeDesktop;
} // namespace zorlo

namespace zorlo::script {

using Json = nlohmann::ordered_json;

// Prints transcript lines: one JSON object a line, "event" first, UTF-8.
class Transcript {
  public:
    explicit Transcript(std::ostream& out) : out_(out) {}

    void print(const FakeEvent& event);
    void printState(const ConsoleSnapshot& console, const FakeDesktop& desktop);

  private:
    void printLine(const Json& line);
    std::ostream& out_;
};

} // namespace zorlo::script
