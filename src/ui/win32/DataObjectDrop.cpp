#include "ui/win32/DataObjectDrop.hpp"

#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32Error.hpp"
#include "text/Failure.hpp"

#include <shellapi.h>

#include <initializer_list>
#include <string>

namespace zorlo::win32 {

namespace {

struct Offer {
    CLIPFORMAT format;
    DWORD medium;
};

CLIPFORMAT registered(const wchar_t* name) {
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
}

FORMATETC formatOf(const Offer& offer) {
    return FORMATETC{offer.format, nullptr, DVASPECT_CONTENT, -1, offer.medium};
}

bool offers(IDataObject& data, std::initializer_list<Offer> any) {
    for (const Offer& offer : any) {
        FORMATETC format = formatOf(offer);
        if (data.QueryGetData(&format) == S_OK) {
            return true;
        }
    }
    return false;
}

// The medium of one GetData, released on every path.
class Medium {
  public:
    Medium(IDataObject& data, CLIPFORMAT format) {
        FORMATETC request = formatOf({format, TYMED_HGLOBAL});
        const HRESULT result = data.GetData(&request, &medium_);
        if (FAILED(result)) {
            throw Failure(describeResult(result));
        }
        if (medium_.tymed != TYMED_HGLOBAL || medium_.hGlobal == nullptr) {
            ReleaseStgMedium(&medium_);
            throw Failure(u"The dropped data is not in memory");
        }
    }
    ~Medium() { ReleaseStgMedium(&medium_); }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;

    HGLOBAL global() const { return medium_.hGlobal; }

  private:
    STGMEDIUM medium_{};
};

// The characters of a locked global block, up to the first NUL or its end.
template <class Char> std::basic_string<Char> lockedText(HGLOBAL global) {
    const SIZE_T bytes = GlobalSize(global);
    const auto* chars = static_cast<const Char*>(GlobalLock(global));
    if (chars == nullptr) {
        throw Failure(describeError(GetLastError()));
    }
    const std::size_t limit = bytes / sizeof(Char);
    std::size_t length = 0;
    while (length < limit && chars[length] != Char()) {
        ++length;
    }
    std::basic_string<Char> text(chars, length);
    GlobalUnlock(global);
    return text;
}

Text fromCodePage(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return fromWide(wide);
}

} // namespace

bool DataObjectDrop::getFormat(DropFormat format) const {
    switch (format) {
    case DropFormat::Files:
        return offers(data_, {{CF_HDROP, TYMED_HGLOBAL}});
    case DropFormat::Link:
        // The DDE link of old, and the formats that browsers and mail programs
        // offer for a link or an attachment without its text.
        return offers(data_, {{registered(L"Link"), TYMED_HGLOBAL},
                              {registered(L"UniformResourceLocatorW"), TYMED_HGLOBAL},
                              {registered(L"UniformResourceLocator"), TYMED_HGLOBAL},
                              {registered(L"FileGroupDescriptorW"), TYMED_HGLOBAL}});
    case DropFormat::Text:
        return offers(data_, {{CF_TEXT, TYMED_HGLOBAL}, {CF_UNICODETEXT, TYMED_HGLOBAL}});
    case DropFormat::Bitmap:
        return offers(data_, {{CF_BITMAP, TYMED_GDI}});
    case DropFormat::Palette:
        return offers(data_, {{CF_PALETTE, TYMED_GDI}});
    case DropFormat::Dib:
        return offers(data_, {{CF_DIB, TYMED_HGLOBAL}, {CF_DIBV5, TYMED_HGLOBAL}});
    case DropFormat::Metafile:
        return offers(data_, {{CF_METAFILEPICT, TYMED_MFPICT}, {CF_ENHMETAFILE, TYMED_ENHMF}});
    }
    return false;
}

Text DataObjectDrop::text() const {
    if (offers(data_, {{CF_UNICODETEXT, TYMED_HGLOBAL}})) {
        const Medium medium(data_, CF_UNICODETEXT);
        return fromWide(lockedText<wchar_t>(medium.global()));
    }
    const Medium medium(data_, CF_TEXT);
    return fromCodePage(lockedText<char>(medium.global()));
}

std::vector<Text> DataObjectDrop::files() const {
    const Medium medium(data_, CF_HDROP);
    const auto drop = static_cast<HDROP>(medium.global());
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<Text> files;
    files.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        files.push_back(fromWide(path));
    }
    return files;
}

} // namespace zorlo::win32
