#pragma once

#include <stdexcept>
#include <string>

namespace zorlo::script {

// A script line that cannot be played: bad JSON, an unknown command, or
// arguments of the wrong form. The run ends with exit status 2.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace zorlo::script
