#include "ConsoleFixture.hpp"
#include "ui/win32/InputBox.hpp"

#include <shlobj.h>

#include <cstring>

namespace zorlo::win32::testing {
namespace {

// A data object as a drag source hands it over: a few formats, each either
// with its bytes or (when `fails`) refusing GetData after offering it.
class TestData final : public IDataObject {
  public:
    TestData& offer(CLIPFORMAT format, std::string bytes, DWORD medium = TYMED_HGLOBAL) {
        offers_.push_back({format, medium, std::move(bytes), false});
        return *this;
    }
    TestData& offerFailing(CLIPFORMAT format) {
        offers_.push_back({format, TYMED_HGLOBAL, {}, true});
        return *this;
    }

    static std::string files(const std::vector<std::wstring>& paths) {
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
    static std::string unicode(const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.c_str()),
                           (text.size() + 1) * sizeof(wchar_t));
    }

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
    struct Offer {
        CLIPFORMAT format;
        DWORD medium;
        std::string bytes;
        bool fails;
    };
    const Offer* find(const FORMATETC& format) const {
        for (const auto& offer : offers_) {
            if (offer.format == format.cfFormat && (offer.medium & format.tymed) != 0) {
                return &offer;
            }
        }
        return nullptr;
    }
    std::vector<Offer> offers_;
};

class DropTest : public ConsoleTest {
  protected:
    // Drops as OLE does: enter, then drop, with the keys held at the drop.
    DWORD drop(TestData& data, DWORD keys = 0) {
        IDropTarget& target = app_->dropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.DragEnter(&data, MK_LBUTTON | keys, POINTL{10, 10}, &effect), S_OK);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.Drop(&data, keys, POINTL{10, 10}, &effect), S_OK);
        return effect;
    }
};

TEST_F(DropTest, DroppedFilesBecomeMacrosNamedAfterThem) {
    const std::wstring alpha = folder_ / L"alpha.txt";
    const std::wstring beta = folder_ / L"beta.doc";
    TestData data;
    data.offer(CF_HDROP, TestData::files({alpha, beta}));
    EXPECT_EQ(drop(data), DWORD(DROPEFFECT_COPY)); // never a move
    const std::wstring text = pane();
    // Each message ends in a line break, which the change handling takes as Enter.
    EXPECT_TRUE(endsWith(text, L">OLE Drop\r\n  alpha added\r\n>OLE Drop\r\n  beta added\r\n>"))
        << text;
    EXPECT_EQ(status(), L"Ready");
    enter(L"list");
    EXPECT_TRUE(paneHas(L"  alpha (" + alpha + L")\r\n  beta (" + beta + L")\r\n")) << pane();
}

TEST_F(DropTest, CtrlDropAsksForTheNameBesideTheConsole) {
    // The name typed is taken; a cancelled box keeps the base name.
    for (const bool typed : {true, false}) {
        const std::wstring alpha = folder_ / (typed ? L"alpha.txt" : L"report.pdf");
        std::wstring title, prompt, offered;
        RECT placed{};
        WindowWatch box(nameBox(), [&](HWND dialog) {
            title = windowText(dialog);
            prompt = windowText(GetDlgItem(dialog, InputBox::kPromptId));
            offered = windowText(GetDlgItem(dialog, InputBox::kEntryId));
            GetWindowRect(dialog, &placed);
            SetDlgItemTextW(dialog, InputBox::kEntryId, L"mine");
            PostMessageW(dialog, WM_COMMAND, typed ? IDOK : IDCANCEL, 0);
        });
        TestData data;
        data.offer(CF_HDROP, TestData::files({alpha}));
        drop(data, MK_CONTROL);
        ASSERT_TRUE(box.fired());
        EXPECT_EQ(title, L"Macro Name");
        EXPECT_EQ(prompt, L"Macro name for " + alpha);
        EXPECT_EQ(offered, typed ? L"alpha" : L"report");
        RECT console{};
        GetWindowRect(window(), &console);
        EXPECT_EQ(placed.left - console.left, 7); // 100 twips
        EXPECT_EQ(placed.top - console.top, 7);
        EXPECT_TRUE(paneHas(typed ? L"  mine added\r\n" : L"  report added\r\n")) << pane();
    }
}

TEST_F(DropTest, TextIsReadAsUnicodeOrInTheCodePage) {
    WindowWatch unexpected(nameBox(),
                           [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    TestData unicode;
    // Offering a file list as well: the text comes later in the order and wins.
    unicode.offer(CF_HDROP, TestData::files({folder_ / L"ignored.txt"}))
        .offer(CF_UNICODETEXT, TestData::unicode(L"http://www.example.com/\u00e9t\u00e9"));
    drop(unicode);
    TestData ansi;
    ansi.offer(CF_TEXT, std::string("www.zorlo.org/caf\xe9") + '\0');
    drop(ansi);
    EXPECT_FALSE(unexpected.fired());
    enter(L"list");
    EXPECT_TRUE(paneHas(L"  example (http://www.example.com/\u00e9t\u00e9)\r\n")) << pane();
    EXPECT_TRUE(paneHas(L"  zorlo (www.zorlo.org/caf\u00e9)\r\n")) << pane();
    EXPECT_FALSE(paneHas(L"ignored"));
}

TEST_F(DropTest, OtherFormatsAreRefusedByTheirLastLabel) {
    const auto link = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocatorW"));
    struct Case {
        std::vector<std::pair<CLIPFORMAT, DWORD>> formats;
        std::wstring label;
    };
    const std::vector<Case> cases = {
        {{{CF_BITMAP, TYMED_GDI}, {CF_DIB, TYMED_HGLOBAL}}, L"dib"},
        {{{CF_DIB, TYMED_HGLOBAL}, {CF_METAFILEPICT, TYMED_MFPICT}}, L"metafile"},
        {{{CF_PALETTE, TYMED_GDI}}, L"palette"},
        {{{CF_BITMAP, TYMED_GDI}}, L"bitmap"},
        {{{link, TYMED_HGLOBAL}}, L"link"},
        {{{CF_RIFF, TYMED_HGLOBAL}}, L"unknown"},
    };
    for (const auto& each : cases) {
        TestData data;
        for (const auto& [format, medium] : each.formats) {
            data.offer(format, "x", medium);
        }
        drop(data);
        EXPECT_TRUE(endsWith(pane(), L"OLE Drop\r\n  Unsupported Format: " + each.label + L"\r\n>"))
            << pane();
    }
}

TEST_F(DropTest, DataThatCannotBeReadIsReportedAsOleError) {
    TestData data;
    data.offerFailing(CF_HDROP);
    drop(data);
    EXPECT_TRUE(paneHas(L"OLE Drop\r\n  OLE ERROR: ")) << pane();
    EXPECT_FALSE(app_->console().snapshot().oleDrop);
}

} // namespace
} // namespace zorlo::win32::testing
