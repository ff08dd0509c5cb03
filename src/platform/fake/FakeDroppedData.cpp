#include "platform/fake/FakeDroppedData.hpp"

#include "text/Failure.hpp"

namespace zorlo {

bool FakeDroppedData::getFormat(DropFormat format) const {
    switch (format) {
    case DropFormat::Files:
        return fileList.has_value();
    case DropFormat::Text:
        return plainText.has_value();
    default:
        return furtherFormats.count(format) > 0;
    }
}

// Like OLE data, asking for a format that is not offered fails.
Text FakeDroppedData::text() const {
    if (!plainText) {
        throw Failure(u"The dropped data offers no text.");
    }
    return *plainText;
}

std::vector<Text> FakeDroppedData::files() const {
    if (!fileList) {
        throw Failure(u"The dropped data offers no files.");
    }
    return *fileList;
}

std::optional<DropFormat> FakeDroppedData::formatFromLabel(TextView label) {
    if (label == u"link") {
        return DropFormat::Link;
    }
    if (label == u"bitmap") {
        return DropFormat::Bitmap;
    }
    if (label == u"palette") {
        return DropFormat::Palette;
    }
    if (label == u"dib") {
        return DropFormat::Dib;
    }
    if (label == u"metafile") {
        return DropFormat::Metafile;
    }
    return std::nullopt;
}

} // namespace zorlo
