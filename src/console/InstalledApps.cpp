#include "console/Console.hpp"

namespace zorlo {

void Console::applicationsRead(std::vector<Application> apps) {
    apps_ = std::move(apps);
}

} // namespace zorlo
