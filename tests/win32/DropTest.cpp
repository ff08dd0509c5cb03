#include "TestSupport.hpp"
#include "ui/win32/InputBox.hpp"

#include <shlobj.h>

#include <cstring>

namespace zorlo::win32::testing {
namespace {

// What a drag source offers: one format with its bytes, or (when `fails`) a
// refusal of GetData after offering it.
struct Offer {
    CLIPFORMAT format;
    std::string bytes;
    DWORD medium = TYMED_HGLOBAL;
    bool fails = false;
};

// The bytes of CF_HDROP for the paths.
std::string files(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::wstring list;
    for (const auto& path : paths) {
        list += path + L'\0';
    }
    list += L'\0';
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
    return bytes;
}

// A data object as a drag source hands it over, with its offer.
class TestData final : public IDataObject {
  public:
    explicit TestData(Offer offer) : offer_(std::move(offer)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack; the counts only have to be plausible.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const Offer* offer = find(*format);
        if (offer == nullptr || offer->fails) {
            return DV_E_FORMATETC;
        }
        const HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, offer->bytes.size());
        std::memcpy(GlobalLock(global), offer->bytes.data(), offer->bytes.size());
        GlobalUnlock(global);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return find(*format) != nullptr ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    const Offer* find(const FORMATETC& format) const {
        const bool offered =
            offer_.format == format.cfFormat && (offer_.medium & format.tymed) != 0;
        return offered ? &offer_ : nullptr;
    }
    Offer offer_;
};

class DropTest : public ConsoleTest {
  protected:
    // Drops the offer as OLE does: enter, then drop, with the keys held at the drop.
    DWORD drop(Offer offer, DWORD keys = 0) {
        TestData data(std::move(offer));
        IDropTarget& target = app_->dropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.DragEnter(&data, MK_LBUTTON | keys, POINTL{10, 10}, &effect), S_OK);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.Drop(&data, keys, POINTL{10, 10}, &effect), S_OK);
        return effect;
    }
};

// Files become macros named after them; text is read as Unicode or in the
// code page. None of these drops asks for a name.
TEST_F(DropTest, FilesAndTextBecomeMacros) {
    WindowWatch unexpected(nameBox(),
                           [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    const std::wstring alpha = folder_ / L"alpha.txt";
    const std::wstring beta = folder_ / L"beta.doc";
    EXPECT_EQ(drop({CF_HDROP, files({alpha, beta})}), DWORD(DROPEFFECT_COPY)); // never a move
    const std::wstring unicode = L"http://www.example.com/\u00e9t\u00e9";
    drop({CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(unicode.c_str()),
                                      (unicode.size() + 1) * sizeof(wchar_t))});
    drop({CF_TEXT, std::string("www.zorlo.org/caf\xe9") + '\0'});
    EXPECT_FALSE(unexpected.fired());
    enter(L"list");
    EXPECT_TRUE(paneHas(L"  alpha (" + alpha + L")\r\n  beta (" + beta + L")\r\n")) << pane();
    EXPECT_TRUE(paneHas(L"  example (" + unicode + L")\r\n")) << pane();
    EXPECT_TRUE(paneHas(L"  zorlo (www.zorlo.org/caf\u00e9)\r\n")) << pane();
}

// Ctrl asks for the name in a box beside the console; a cancelled box keeps
// the base name.
TEST_F(DropTest, CtrlDropAsksForTheNameBesideTheConsole) {
    const std::wstring report = folder_ / L"report.pdf";
    std::wstring title, prompt, offered;
    RECT placed{};
    WindowWatch box(nameBox(), [&](HWND dialog) {
        title = windowText(dialog);
        prompt = windowText(GetDlgItem(dialog, InputBox::kPromptId));
        offered = windowText(GetDlgItem(dialog, InputBox::kEntryId));
        GetWindowRect(dialog, &placed);
        SetDlgItemTextW(dialog, InputBox::kEntryId, L"mine");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    drop({CF_HDROP, files({report})}, MK_CONTROL);
    ASSERT_TRUE(box.fired());
    EXPECT_EQ(title, L"Macro Name");
    EXPECT_EQ(prompt, L"Macro name for " + report);
    EXPECT_EQ(offered, L"report");
    RECT console{};
    GetWindowRect(window(), &console);
    EXPECT_EQ(placed.left - console.left, 7); // 100 twips
    EXPECT_EQ(placed.top - console.top, 7);
    EXPECT_TRUE(paneHas(L"  report added\r\n")) << pane();
}

// Each format the console cannot use is named in its refusal.
TEST_F(DropTest, OtherFormatsAreRefusedByName) {
    const auto link = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocatorW"));
    const struct {
        CLIPFORMAT format;
        DWORD medium;
        std::wstring label;
    } cases[] = {
        {CF_DIB, TYMED_HGLOBAL, L"dib"},     {CF_METAFILEPICT, TYMED_MFPICT, L"metafile"},
        {CF_PALETTE, TYMED_GDI, L"palette"}, {CF_BITMAP, TYMED_GDI, L"bitmap"},
        {link, TYMED_HGLOBAL, L"link"},      {CF_RIFF, TYMED_HGLOBAL, L"unknown"},
    };
    for (const auto& each : cases) {
        drop({each.format, "x", each.medium});
        EXPECT_TRUE(pane().ends_with(L"OLE Drop\r\n  Unsupported Format: " + each.label + L"\r\n>"))
            << pane();
    }
}

TEST_F(DropTest, DataThatCannotBeReadIsReportedAsOleError) {
    drop({CF_HDROP, "", TYMED_HGLOBAL, true});
    EXPECT_TRUE(paneHas(L"OLE Drop\r\n  OLE ERROR: ")) << pane();
    EXPECT_FALSE(app_->console().snapshot().oleDrop);
}

} // namespace
} // namespace zorlo::win32::testing
