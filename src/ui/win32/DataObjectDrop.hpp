#pragma once

#include "platform/DroppedData.hpp"

#include <windows.h>

#include <ole2.h>

namespace zorlo::win32 {

// A dropped OLE data object seen through the drop handler's questions. Each
// DropFormat stands for the clipboard formats that carry that kind of data.
class DataObjectDrop : public DroppedData {
  public:
    explicit DataObjectDrop(IDataObject& data) : data_(data) {}

    bool getFormat(DropFormat format) const override;
    // CF_UNICODETEXT when offered, else CF_TEXT in the system code page.
    Text text() const override;
    std::vector<Text> files() const override;

  private:
    IDataObject& data_;
};

} // namespace zorlo::win32
