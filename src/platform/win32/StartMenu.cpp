#include "platform/win32/StartMenu.hpp"

#include "platform/win32/WideText.hpp"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <set>
#include <string>

namespace zorlo::win32 {

namespace {

// The extension compared as the file system compares names: without case.
bool isShortcut(const std::wstring& name) {
    constexpr std::wstring_view extension = L".lnk";
    return name.size() > extension.size() &&
           _wcsicmp(name.c_str() + (name.size() - extension.size()), extension.data()) == 0;
}

std::wstring folderKey(std::wstring path) {
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// Releases a COM interface when it goes out of scope.
template <typename Interface> class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    void** out() { return reinterpret_cast<void**>(&pointer_); }

  private:
    Interface* pointer_ = nullptr;
};

// The program a shortcut points to, empty where it names none or cannot be read.
std::wstring shortcutTarget(const std::filesystem::path& shortcut) {
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.out()))) {
        return {};
    }
    ComRef<IPersistFile> file;
    // Loaded, never resolved: resolving may search the disks for a moved target.
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())) ||
        FAILED(file->Load(shortcut.c_str(), STGM_READ))) {
        return {};
    }
    std::wstring target(32768, L'\0');
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH) !=
        S_OK) {
        return {};
    }
    target.resize(wcslen(target.c_str()));
    if (target.find(L'%') != std::wstring::npos) {
        // A raw path may hold variables (%ProgramFiles%): shown as they expand.
        std::wstring expanded(32768, L'\0');
        const DWORD length = ExpandEnvironmentStringsW(target.c_str(), expanded.data(),
                                                       static_cast<DWORD>(expanded.size()));
        if (length > 0 && length <= expanded.size()) {
            expanded.resize(length - 1);
            target = std::move(expanded);
        }
    }
    return target;
}

class StartMenuReader {
  public:
    StartMenuReader(std::vector<Application>& list, const std::atomic<bool>* cancelled)
        : list_(list), cancelled_(cancelled) {}

    void read(const std::filesystem::path& folder, const std::wstring& relative) {
        WIN32_FIND_DATAW found;
        const std::wstring pattern = (folder / L"*").wstring();
        const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            if (cancelled_ != nullptr && cancelled_->load()) {
                break;
            }
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring place = relative.empty() ? name : relative + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                // A linked folder could lead back up the tree without end.
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                    read(folder / name, place);
                }
            } else if (isShortcut(name) && seen_.insert(folderKey(place)).second) {
                add(folder / name, name);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

  private:
    void add(const std::filesystem::path& shortcut, const std::wstring& fileName) {
        Application app;
        app.name = fromWide(std::wstring_view(fileName).substr(0, fileName.size() - 4));
        std::wstring target = shortcutTarget(shortcut);
        app.key = fromWide(shortcut.wstring());
        app.target = target.empty() ? app.key : fromWide(target);
        list_.push_back(std::move(app));
    }

    std::vector<Application>& list_;
    const std::atomic<bool>* cancelled_;
    std::set<std::wstring> seen_;
};

std::filesystem::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

} // namespace

std::vector<std::filesystem::path> startMenuFolders() {
    std::vector<std::filesystem::path> folders;
    for (const auto& folder :
         {knownFolder(FOLDERID_Programs), knownFolder(FOLDERID_CommonPrograms)}) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

std::vector<Application> readStartMenu(const std::vector<std::filesystem::path>& folders,
                                       const std::atomic<bool>* cancelled) {
    // Shortcuts are read through COM; a thread that has it already keeps its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<Application> list;
    StartMenuReader reader(list, cancelled);
    for (const auto& folder : folders) {
        reader.read(folder, {});
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return list;
}

long Win32Applications::launch(const Application& app, const std::vector<Text>& arguments,
                               const Text& folder) {
    Text argText;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        argText += (i == 0 ? u"" : u" ") + quote_(arguments[i]);
    }
    // The shell starts a shortcut that names no folder of its own in the
    // caller's current folder on some systems, whatever folder the call names
    // (wine does): the console's folder is made current for the call.
    // "\" alone stands for the console's own current folder, as a literal
    // launch of a bare program name passes it.
    const bool ownFolder = folder.empty() || folder == u"\\";
    std::wstring previous(MAX_PATH, L'\0');
    previous.resize(GetCurrentDirectoryW(static_cast<DWORD>(previous.size()), previous.data()));
    const bool moved = !ownFolder && !previous.empty() && previous.size() < MAX_PATH &&
                       SetCurrentDirectoryW(toWide(folder).c_str());
    const long result = shell_.open(app.key, argText, ownFolder ? Text() : folder);
    if (moved) {
        SetCurrentDirectoryW(previous.c_str());
    }
    return result;
}

} // namespace zorlo::win32
