#include "platform/fake/FakeShell.hpp"

namespace zorlo {

long FakeShell::open(const Text& file, const Text& parameters, const Text& directory) {
    log_.record(FakeEvent{"launch",
                          {{"file", file},
                           {"parameters", parameters},
                           {"directory", directory},
                           {"result", static_cast<long long>(result_)}}});
    return result_;
}

} // namespace zorlo
