#pragma once

#include "text/Text.hpp"

#include <vector>

namespace zorlo {

// Splits argument text into words the way a Windows program splits the
// arguments of its command line (CommandLineToArgvW), so that a macro's
// argument text reaches a Linux program as the same words: blanks and tabs
// separate; double quotes group; 2n backslashes before a quote give n
// backslashes and the quote groups, 2n+1 give n backslashes and a literal
// quote; other backslashes stay; within a run of quotes every third one is literal.
std::vector<Text> splitWindowsArguments(TextView text);

} // namespace zorlo
