#pragma once

#include "text/Text.hpp"

#include <windows.h>

namespace zorlo::win32 {

// The system's own wording for an error code, without the closing line break;
// "Error 0x..." when the system has none.
Text describeError(DWORD code);
Text describeResult(HRESULT result);

} // namespace zorlo::win32
