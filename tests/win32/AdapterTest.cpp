#include "TestSupport.hpp"
#include "platform/win32/Foreground.hpp"
#include "platform/win32/SettingsFolder.hpp"
#include "platform/win32/SingleInstance.hpp"
#include "platform/win32/StartMenu.hpp"
#include "platform/win32/StartMenuWatch.hpp"
#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32EventPump.hpp"
#include "platform/win32/Win32FileSystem.hpp"
#include "platform/win32/Win32Sound.hpp"
#include "store/FileIo.hpp"
#include "text/Failure.hpp"
#include "ui/win32/Twips.hpp"

#include <aclapi.h>
#include <tuple>

namespace zorlo::win32::testing {
namespace {

// A valid, silent wave file: 8-bit mono PCM at 8000 samples a second, 8 samples.
std::string tinyWave() {
    return std::string(
               "RIFF,\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0"
               "data\x08\0\0\0",
               44) +
           std::string(8, '\x80');
}

// Lets Everyone add files to the folder, as a shared folder would.
void letEveryoneWrite(const std::filesystem::path& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, &descriptor),
              ERROR_SUCCESS);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size));
    EXPLICIT_ACCESSW grant{};
    grant.grfAccessPermissions = FILE_ADD_FILE;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = NO_INHERITANCE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    grant.Trustee.ptstrName = reinterpret_cast<LPWSTR>(everyone);
    PACL widened = nullptr;
    ASSERT_EQ(SetEntriesInAclW(1, &grant, dacl, &widened), ERROR_SUCCESS);
    std::wstring name = folder.wstring();
    const DWORD result = SetNamedSecurityInfoW(
        name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, widened, nullptr);
    LocalFree(widened);
    LocalFree(descriptor);
    ASSERT_EQ(result, ERROR_SUCCESS);
}

// Messages of probe windows, the ones the tests look for, in order.
std::vector<UINT> probed;

// A window that records the key messages and WM_USER + 1 and WM_APP + 1 in
// `probed`: visible with a style, else a message-only window.
HWND probeWindow(DWORD style) {
    WNDCLASSW probe{};
    probe.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_USER + 1 ||
            message == WM_APP + 1) {
            probed.push_back(message);
        }
        return DefWindowProcW(window, message, w, l);
    };
    probe.hInstance = GetModuleHandleW(nullptr);
    probe.lpszClassName = L"ZorloProbe";
    RegisterClassW(&probe);
    return CreateWindowExW(0, probe.lpszClassName, L"", style, 0, 0, 200, 100,
                           style == 0 ? HWND_MESSAGE : nullptr, nullptr, probe.hInstance, nullptr);
}

TEST(SettingsFolder, StaysBesideTheProgramUnlessItCannotWriteThere) {
    TempFolder program;
    TempFolder appData;
    EXPECT_EQ(chooseSettingsFolder(program.path(), appData.path()), program.path());
    // A folder that cannot take a file: the per-user folder is made and used.
    const auto locked = program.path() / L"missing";
    EXPECT_EQ(chooseSettingsFolder(locked, appData.path()), appData.path() / L"Zorlo");
    EXPECT_TRUE(std::filesystem::is_directory(appData.path() / L"Zorlo"));
    EXPECT_TRUE(std::filesystem::is_empty(program.path())); // the probe leaves nothing behind
    // A folder others can write is passed over as an unwritable one is.
    letEveryoneWrite(program.path());
    EXPECT_EQ(chooseSettingsFolder(program.path(), appData.path()), appData.path() / L"Zorlo");
}

// One console per folder, however its name is written; a later start toggles
// the console once it has marked its window.
TEST(SingleInstance, OneConsolePerFolderHoweverItIsWritten) {
    TempFolder folder;
    TempFolder other;
    // The same folder in capitals and with a closing backslash.
    std::wstring upper = folder.path().wstring() + L"\\";
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const SingleInstance first(folder.path());
    const SingleInstance second(upper);
    const SingleInstance elsewhere(other.path());
    EXPECT_TRUE(first.isFirst());
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(elsewhere.isFirst());
    EXPECT_FALSE(second.toggleRunning(100)); // nothing marked yet
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    first.claim(window);
    EXPECT_TRUE(second.toggleRunning(1000));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window, SingleInstance::toggleMessage(),
                             SingleInstance::toggleMessage(), PM_REMOVE));
    DestroyWindow(window);
}

TEST(Sound, LoadsTheWaveOnceAndIsSilentWithoutIt) {
    TempFolder settings;
    TempFolder program;
    Win32Sound sound(program.path());
    sound.open(settings.path() / L"Bleep.WAV");
    EXPECT_FALSE(sound.loaded());
    sound.play(); // nothing to play, nothing fails

    writeFileBytes(program.path() / L"Bleep.WAV", tinyWave());
    sound.open(settings.path() / L"Bleep.WAV");
    EXPECT_TRUE(sound.loaded()); // shipped beside the program

    std::filesystem::remove(program.path() / L"Bleep.WAV");
    writeFileBytes(settings.path() / L"Bleep.WAV", tinyWave());
    sound.open(settings.path() / L"Bleep.WAV");
    EXPECT_TRUE(sound.loaded());
    // Played from memory: the file may go once it is loaded.
    std::filesystem::remove(settings.path() / L"Bleep.WAV");
    sound.play();
    sound.close();
    EXPECT_FALSE(sound.loaded());
}

// Saves replace an existing file; a kept copy never replaces one; only an
// existing folder is a folder.
TEST(Win32FileSystem, ReplacesFilesCreatesOnlyUnderFreeNamesAndKnowsFolders) {
    TempFolder folder;
    Win32FileSystem files;
    const auto list = folder.path() / L"zorlo.list";
    const auto kept = folder.path() / L"zorlo.list.bad";
    writeFileBytes(list, "old");
    files.replaceFile(list, "new");
    EXPECT_EQ(readFileBytes(list).value_or(""), "new");
    EXPECT_TRUE(files.createFile(kept, "kept"));
    EXPECT_FALSE(files.createFile(kept, "again"));
    EXPECT_EQ(readFileBytes(kept).value_or(""), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2)
        << "a temporary file was left behind";
    EXPECT_TRUE(files.folderExists(fromWide(folder.path().wstring())));
    EXPECT_FALSE(files.folderExists(fromWide(list.wstring())));
    EXPECT_FALSE(files.folderExists(fromWide(folder / L"none")));
    EXPECT_FALSE(files.folderExists(u""));
}

// Another user who can add files to the folder could plant a link under the
// temporary or kept name: nothing is written there, and the old file stays.
TEST(Win32FileSystem, RefusesAFolderOtherUsersCanWrite) {
    TempFolder folder;
    Win32FileSystem files;
    const auto list = folder.path() / L"zorlo.list";
    writeFileBytes(list, "old");
    EXPECT_FALSE(othersCanWrite(folder.path()));
    letEveryoneWrite(folder.path());
    ASSERT_TRUE(othersCanWrite(folder.path()));

    try {
        files.replaceFile(list, "new");
        ADD_FAILURE() << "written";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(),
                  u"Refused, other users can write to " + fromWide(folder.path().wstring()));
    }
    EXPECT_THROW(files.createFile(folder.path() / L"zorlo.list.bad", "kept"), Failure);
    EXPECT_EQ(readFileBytes(list).value_or(""), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A dotfiles set-up links zorlo.list to a file kept elsewhere: the save
// updates that file and the link stays a link.
TEST(Win32FileSystem, ASaveWritesThroughALinkToItsTarget) {
    TempFolder settings;
    TempFolder dotfiles;
    Win32FileSystem files;
    const auto target = dotfiles.path() / L"zorlo.list";
    const auto link = settings.path() / L"zorlo.list";
    writeFileBytes(target, "old");
    // The standard library here does not know links; the system does.
    const auto isLink = [&] {
        const DWORD attributes = GetFileAttributesW(link.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    };
    CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (!isLink()) {
        GTEST_SKIP() << "this system made no symbolic link (wine 8 only pretends to)";
    }
    files.replaceFile(link, "new");
    EXPECT_TRUE(isLink());
    EXPECT_EQ(readFileBytes(target).value_or(""), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dotfiles.path()), {}), 1)
        << "a temporary file was left behind";
}

// Shortcuts at any depth, whatever the case of ".lnk", other files left out; a
// shortcut that names no program stands for itself; the all-users folder's
// shortcut at a place the user's folder also has is the same menu entry.
TEST(StartMenu, ListsTheShortcutsOfBothFoldersAtAnyDepth) {
    const auto folders = startMenuFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_TRUE(folders[0].wstring().ends_with(L"\\Programs")) << folders[0];
    TempFolder mine(folders[0]);
    TempFolder shared;
    const auto sharedPlace = shared.path() / mine.path().filename();
    const auto marker = programFolder() / L"marker.exe";
    const auto notepad = std::filesystem::path(L"C:\\windows\\notepad.exe");
    makeShortcut(mine.path() / L"Marker.lnk", marker);
    makeShortcut(mine.path() / L"Tools" / L"Deep" / L"Two Words.LNK", notepad);
    writeFileBytes(mine.path() / L"readme.txt", "no shortcut");
    writeFileBytes(mine.path() / L"Broken.lnk", "no shortcut inside");
    makeShortcut(sharedPlace / L"Marker.lnk", notepad);
    makeShortcut(sharedPlace / L"Shared Only.lnk", marker);

    // Name, key and target of each entry, the paths in lower case: the shell
    // may give a path's letters in another case.
    using Entry = std::tuple<std::wstring, std::wstring, std::wstring>;
    const auto entry = [](std::wstring name, std::wstring key, std::wstring target) {
        for (std::wstring* path : {&key, &target}) {
            CharLowerBuffW(path->data(), static_cast<DWORD>(path->size()));
        }
        return Entry{name, key, target};
    };
    const std::vector<Entry> expected = {
        entry(L"Broken", mine.path() / L"Broken.lnk", mine.path() / L"Broken.lnk"),
        entry(L"Marker", mine.path() / L"Marker.lnk", marker),
        entry(L"Shared Only", sharedPlace / L"Shared Only.lnk", marker),
        entry(L"Two Words", mine.path() / L"Tools" / L"Deep" / L"Two Words.LNK", notepad),
    };
    std::vector<Entry> listed;
    for (const auto& app : readStartMenu({folders[0], shared.path()})) {
        const std::wstring key = toWide(app.key);
        if (key.starts_with(mine.path().wstring()) || key.starts_with(shared.path().wstring())) {
            EXPECT_TRUE(app.names.empty());
            listed.push_back(entry(toWide(app.name), key, toWide(app.target)));
        }
    }
    std::ranges::sort(listed);
    EXPECT_EQ(listed, expected);
}

// The watch reads at once, and again once a change, in a subfolder too, has
// settled; each new list is announced to the window and taken once.
TEST(StartMenu, WatchReadsAtOnceAndAfterEveryChange) {
    const HWND window = probeWindow(0);
    TempFolder folder;
    const auto marker = programFolder() / L"marker.exe";
    makeShortcut(folder.path() / L"Sub" / L"First.lnk", marker);
    StartMenuWatch watch({folder.path()}, window, WM_APP + 1);
    // The names of the next list announced, once it is taken.
    const auto nextNames = [&] {
        probed.clear();
        std::vector<std::wstring> names;
        if (waitUntil([&] { return !probed.empty(); }, 10000)) {
            for (const Application& app : watch.take().value_or(std::vector<Application>{})) {
                names.push_back(toWide(app.name));
            }
        }
        std::ranges::sort(names);
        EXPECT_FALSE(watch.take().has_value());
        return names;
    };
    EXPECT_EQ(nextNames(), std::vector<std::wstring>{L"First"});
    makeShortcut(folder.path() / L"Sub" / L"Second.lnk", marker);
    EXPECT_EQ(nextNames(), (std::vector<std::wstring>{L"First", L"Second"}));
    DestroyWindow(window);
}

TEST(Twips, FifteenPerPixelAtTheUsualResolution) {
    ASSERT_EQ(Twips::perPixelX(), 15); // wine's default of 96 dpi
    EXPECT_EQ(Twips::toPixelsX(7), 0);
    EXPECT_EQ(Twips::toPixelsX(8), 1);
    EXPECT_EQ(Twips::toPixelsY(-15), -1);
}

// Keys typed while a command runs wait in the input queue and arrive once it
// is over, in order; the messages the command posts itself still run. Real
// keyboard input is needed: a posted WM_KEYDOWN is a posted message.
TEST(EventPump, ACommandsYieldLeavesTypedKeysQueued) {
    const HWND window = probeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    bringToFront(window);
    SetFocus(window);
    ASSERT_TRUE(waitUntil([&] { return GetFocus() == window; }));
    probed.clear();
    INPUT keys[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    keys[0].ki.wVk = keys[1].ki.wVk = 'A';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    PostMessageW(window, WM_USER + 1, 0, 0);
    Win32EventPump pump;
    pump.doEvents();
    EXPECT_EQ(probed, std::vector<UINT>{WM_USER + 1});
    MSG key;
    EXPECT_TRUE(PeekMessageW(&key, window, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    pump.waitForEvents();
    EXPECT_EQ(probed, (std::vector<UINT>{WM_USER + 1, WM_KEYDOWN, WM_CHAR}));
    DestroyWindow(window);
}

} // namespace
} // namespace zorlo::win32::testing
