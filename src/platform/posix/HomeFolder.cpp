#include "platform/posix/HomeFolder.hpp"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace zorlo::posix {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/";
}

std::string expandHome(std::string_view path) {
    if (path.empty() || path.front() != '~' || (path.size() > 1 && path[1] != '/')) {
        return std::string(path);
    }
    std::string home = homeFolder();
    // "~/x" in a home of "/" gives "/x", not "//x".
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    if (home == "/" && path.size() > 1) {
        return std::string(path.substr(1));
    }
    return home + std::string(path.substr(1));
}

} // namespace zorlo::posix
