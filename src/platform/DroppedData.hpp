#pragma once

#include "text/Text.hpp"

#include <vector>

namespace zorlo {

// The clipboard formats a drop may offer, in the order the drop handler tests them.
// GCC 12 takes the scoped enumerator Text for a shadow of the type Text, which
// it cannot be (it is only ever named as DropFormat::Text).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class DropFormat { Files, Link, Text, Bitmap, Palette, Dib, Metafile };
#pragma GCC diagnostic pop

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
