#pragma once

#include "text/Text.hpp"

namespace zorlo {

// Plain operations on path text; both '\' and '/' separate.

// The folder part of a path, without its closing separator; empty when the
// path has no folder part ("notepad").
Text parentFolderName(TextView path);

// The last component of a path without its extension ("Report" for
// "C:\Docs\Report.doc"); separators at the end are passed over.
Text baseName(TextView path);

} // namespace zorlo
