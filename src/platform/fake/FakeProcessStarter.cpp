#include "platform/fake/FakeProcessStarter.hpp"

#include "text/Failure.hpp"

namespace zorlo {

long FakeProcessStarter::startShell(const Text& commandLine, const Text& folder) {
    lastFolder_ = folder;
    log_.record(FakeEvent{"process",
                          {{"commandLine", commandLine},
                           {"style", static_cast<long long>(kNormalFocus)},
                           {"started", !fails_}}});
    if (fails_) {
        throw Failure(u"The command prompt could not be started.");
    }
    return nextTask_++;
}

} // namespace zorlo
