#pragma once

#include "platform/DroppedData.hpp"

#include <optional>
#include <set>

namespace zorlo {

// Dropped data that offers a file list when it has files, plain text when it
// has a text, and any further formats it is told to offer.
class FakeDroppedData : public DroppedData {
  public:
    std::optional<std::vector<Text>> fileList;
    std::optional<Text> plainText;
    std::set<DropFormat> furtherFormats;

    bool getFormat(DropFormat format) const override;
    Text text() const override;
    std::vector<Text> files() const override;

    // The label a script uses for a further format; nullopt when it names none.
    static std::optional<DropFormat> formatFromLabel(TextView label);
};

} // namespace zorlo
