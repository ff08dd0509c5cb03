#include "platform/fake/FakeApplications.hpp"

#include "launch/ArgumentText.hpp"

namespace zorlo {

namespace {

// The words as the Windows adapter hands them to the shell, since the fake
// desktop behaves like Windows: blank-separated, each quoted where it must be.
Text joinArguments(const std::vector<Text>& arguments) {
    Text joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        joined += (i == 0 ? u"" : u" ") + launchArgument(arguments[i]);
    }
    return joined;
}

} // namespace

long FakeApplications::launch(const Application& app, const std::vector<Text>& arguments,
                              const Text& folder) {
    const long result = shell_.result();
    log_.record(FakeEvent{"launch",
                          {{"application", app.name},
                           {"file", app.target},
                           {"parameters", joinArguments(arguments)},
                           {"directory", folder},
                           {"result", static_cast<long long>(result)}}});
    return result;
}

} // namespace zorlo
