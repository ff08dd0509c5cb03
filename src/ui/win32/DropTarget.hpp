#pragma once

#include <windows.h>

#include <ole2.h>

namespace zorlo {
class ConsoleEvents;
}

namespace zorlo::win32 {

// The text area's OLE drop target: every drop goes to the console's drop
// handler, which decides what to keep. Reference counted as COM wants; the
// front end holds one reference and RegisterDragDrop another.
class DropTarget final : public IDropTarget {
  public:
    explicit DropTarget(ConsoleEvents* console) : console_(console) {}
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    // After this no drop reaches the console (it is going away).
    void detach() { console_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

  private:
    ~DropTarget() = default;

    LONG references_ = 1;
    ConsoleEvents* console_;
};

} // namespace zorlo::win32
