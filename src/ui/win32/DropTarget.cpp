#include "ui/win32/DropTarget.hpp"

#include "platform/ConsoleEvents.hpp"
#include "ui/win32/DataObjectDrop.hpp"
#include "ui/win32/ShiftState.hpp"

namespace zorlo::win32 {

namespace {

// Copy or link, never move: a move would let the source delete the files that
// the new macros point to.
DWORD chosenEffect(DWORD allowed) {
    if ((allowed & DROPEFFECT_COPY) != 0) {
        return DROPEFFECT_COPY;
    }
    if ((allowed & DROPEFFECT_LINK) != 0) {
        return DROPEFFECT_LINK;
    }
    return DROPEFFECT_NONE;
}

} // namespace

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* /*data*/, DWORD /*keyState*/,
                                                POINTL /*point*/, DWORD* effect) {
    // Every kind of data is taken: the handler itself refuses the ones it cannot use.
    *effect = chosenEffect(*effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD /*keyState*/, POINTL /*point*/,
                                               DWORD* effect) {
    *effect = chosenEffect(*effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD keyState, POINTL /*point*/,
                                           DWORD* effect) {
    *effect = chosenEffect(*effect);
    if (console_ == nullptr || data == nullptr) {
        return S_OK;
    }
    // No exception may cross back into OLE; the handler reports its own failures.
    try {
        const DataObjectDrop dropped(*data);
        console_->textDrop(dropped, shiftFromDropKeyState(keyState));
    } catch (...) {
        return E_UNEXPECTED;
    }
    return S_OK;
}

} // namespace zorlo::win32
