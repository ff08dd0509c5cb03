#pragma once

#include "text/Text.hpp"

#include <vector>

namespace zorlo {

// The clipboard formats a drop may offer, in the order the drop handler tests them.
enum class DropFormat { Files, Link, Text, Bitmap, Palette, Dib, Metafile };

// Data dropped on the text area. Any call may throw Failure when the data
// refuses a format.
class DroppedData {
  public:
    virtual ~DroppedData() = default;
    virtual bool getFormat(DropFormat format) const = 0;
    virtual Text text() const = 0;               // the plain-text format
    virtual std::vector<Text> files() const = 0; // full paths, in the order given
};

} // namespace zorlo
