#include "launch/PathText.hpp"

namespace zorlo {

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

TextView withoutTrailingSeparators(TextView path) {
    while (path.size() > 1 && isSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return path;
}

// Where the last part of the path begins: after its last separator.
std::size_t lastPartStart(TextView path) {
    std::size_t i = path.size();
    while (i > 0 && !isSeparator(path[i - 1])) {
        --i;
    }
    return i;
}

} // namespace

Text parentFolderName(TextView path) {
    path = withoutTrailingSeparators(path);
    const std::size_t i = lastPartStart(path);
    if (i == 0) {
        return {};
    }
    const TextView folder = withoutTrailingSeparators(path.substr(0, i));
    // A drive root keeps its separator ("C:\"), as does the root "/" itself.
    if (folder.size() == 2 && folder[1] == u':' && i > 2) {
        return Text(path.substr(0, 3));
    }
    return Text(folder);
}

Text baseName(TextView path) {
    path = withoutTrailingSeparators(path);
    TextView name = path.substr(lastPartStart(path));
    const std::size_t dot = name.rfind(u'.');
    if (dot != TextView::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return Text(name);
}

} // namespace zorlo
