#pragma once

#include "text/Text.hpp"

namespace zorlo {

// One argument as it goes into a launch's argument text. An argument holding a
// blank or a tab is enclosed in double quotes by the rule that a Windows
// program's argument splitter reads (and the Linux launcher's too): an inner
// quote as \", and backslashes doubled where they stand before an inner quote
// or before the closing quote, so "D:\my folder\" stays one word. Every other
// argument is passed as it is.
Text launchArgument(TextView argument);

} // namespace zorlo
