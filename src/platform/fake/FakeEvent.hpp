#pragma once

#include "text/Text.hpp"

#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace zorlo {

// One value of a recorded desktop event; null stands for a cancelled box.
using FakeValue = std::variant<std::nullptr_t, bool, long long, Text>;

// Something the console did to the fake desktop, with its details in the order
// that a transcript prints them.
struct FakeEvent {
    std::string name;
    std::vector<std::pair<std::string, FakeValue>> fields;

    const FakeValue* field(const std::string& key) const {
        for (const auto& [k, v] : fields) {
            if (k == key) {
                return &v;
            }
        }
        return nullptr;
    }
};

// Collects the events of every fake in the order they happen. The listener
// sees each one at once, so a transcript can interleave them with its own lines.
class FakeEventLog {
  public:
    std::function<void(const FakeEvent&)> listener;
    std::vector<FakeEvent> events;

    void record(FakeEvent event) {
        if (listener) {
            listener(event);
        }
        events.push_back(std::move(event));
    }
    void record(std::string name) { record(FakeEvent{std::move(name), {}}); }

    std::size_t count(const std::string& name) const {
        std::size_t n = 0;
        for (const FakeEvent& e : events) {
            n += e.name == name ? 1 : 0;
        }
        return n;
    }
};

} // namespace zorlo
