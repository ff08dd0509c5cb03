#pragma once

#include <string_view>

namespace zorlo {

// Word of what the front end did, one short line each ("shown", "hidden",
// "unloaded", "painted", "timer rests", "bleep"), for whoever drives the whole
// program from outside and must know when to look. The program decides where
// the lines go; left to itself the front end tells nobody.
class ActivityLog {
  public:
    virtual ~ActivityLog() = default;
    virtual void note(std::string_view line) = 0;

    // The log that keeps nothing.
    static ActivityLog& none() {
        class Silent final : public ActivityLog {
          public:
            void note(std::string_view /*line*/) override {}
        };
        static Silent silent;
        return silent;
    }
};

} // namespace zorlo
