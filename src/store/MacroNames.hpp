#pragma once

#include "text/Text.hpp"

namespace zorlo {

// The suggested macro name for a web address: the text between its first and
// second dot ("alpha" for www.alpha.beta); empty text for anything else.
Text nameFromUrl(TextView text);

} // namespace zorlo
