#pragma once

#include "platform/DroppedData.hpp"

class QMimeData;

namespace zorlo {

// A copy of what a drop offered, mapped onto the formats the engine tests:
// local files from text/uri-list are the file list, text/plain the text, any
// image a bitmap; nothing else is offered. Being a copy, it outlives the drag.
class QtDroppedData : public DroppedData {
  public:
    explicit QtDroppedData(const QMimeData& mime);

    bool getFormat(DropFormat format) const override;
    Text text() const override { return text_; }
    std::vector<Text> files() const override { return files_; }

  private:
    std::vector<Text> files_;
    bool hasText_ = false;
    Text text_;
    bool hasImage_ = false;
};

} // namespace zorlo
