#pragma once

#include "text/Text.hpp"

namespace zorlo {

// Opens a target with the desktop's default action ("Open"): starts a program,
// opens a document, folder or web address, in the given working folder, with a
// normal activated window. Returns a number above 32 on success, otherwise the
// failure code: 0 out of resources, 2 file not found, 3 path not found,
// 5 access denied, 31 no associated application, ... (the Windows codes).
// Never throws.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual long open(const Text& file, const Text& parameters, const Text& directory) = 0;
};

} // namespace zorlo
