// Launching on Linux without the console: argument splitting, the shell's
// result codes, the terminal, the settings folder, the key tables.
#include "PosixTestSupport.hpp"
#include "launch/ArgumentText.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/posix/PosixProcessStarter.hpp"
#include "platform/posix/PosixShell.hpp"
#include "platform/posix/ProgramFolder.hpp"
#include "platform/posix/WindowsArguments.hpp"
#include "platform/wayland/ActivationToken.hpp"
#include "platform/x11/VirtualKeys.hpp"
#include "text/Failure.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <X11/keysym.h>

namespace fs = std::filesystem;
using namespace zorlo;
using namespace zorlo::posixtest;

TEST(WindowsArguments, SplitAsCommandLineToArgvW) {
    const std::vector<std::pair<Text, std::vector<Text>>> cases{
        {u"", {}},
        {u"  lead\t trail  ", {u"lead", u"trail"}},
        {u"\"abc\" d e", {u"abc", u"d", u"e"}},
        {u"a\\\\\\b d\"e f\"g h", {u"a\\\\\\b", u"de fg", u"h"}},
        {u"a\\\\\\\"b c d", {u"a\\\"b", u"c", u"d"}},
        {u"a\\\\\\\\\"b c\" d e", {u"a\\\\b c", u"d", u"e"}},
        {u"a\"b\"\" c d", {u"ab\"", u"c", u"d"}},
        {u"\"\"", {u""}},
        {u"x \"\"\"y\"\"\" z", {u"x", u"\"y\"", u"z"}},
        {u"C:\\Program Files\\", {u"C:\\Program", u"Files\\"}},
    };
    for (const auto& [line, words] : cases) {
        EXPECT_EQ(splitWindowsArguments(line), words) << toUtf8(line);
    }
}

// The engine writes the argument text that this splitter reads: every word,
// however it mixes blanks, quotes and backslashes, comes back whole.
TEST(WindowsArguments, ReadBackWhatTheEngineWrites) {
    const std::vector<Text> words{
        u"plain",   u"my file.txt", u"D:\\my folder\\",         u"say \"hi\" now",
        u"a\\\" b", u"tab\there",   u"\\\\server\\share x\\\\", u"\" \\\" \\\\\"",
        u"-x -y",
    };
    Text argumentText;
    for (const Text& word : words) {
        argumentText += launchArgument(word) + u" ";
    }
    EXPECT_EQ(splitWindowsArguments(argumentText), words) << toUtf8(argumentText);
}

// What describes the console's own start never reaches a launched program.
TEST(PosixShell, LaunchedProgramsLeaveTheConsolesStartBehind) {
    TempFolder temp;
    writeProgram(temp.path / "env.sh", "env > \"$0.out\"");
    const ScopedEnv token("XDG_ACTIVATION_TOKEN", "stale-token");
    const ScopedEnv startup("DESKTOP_STARTUP_ID", "stale-id");
    const ScopedEnv kept("ZORLO_KEPT", "yes");
    // No compositor to ask for a fresh token (the sway test has one).
    const ScopedEnv noCompositor("WAYLAND_DISPLAY", "");
    // The console's Qt platform, and whether the launched program still sees it.
    const std::pair<std::string, bool> platforms[] = {
        {"offscreen", false}, {"minimal", false}, {"xcb", true}, {"wayland", true}};
    for (const auto& [platform, inherited] : platforms) {
        const ScopedEnv qpa("QT_QPA_PLATFORM", platform);
        fs::remove(temp.path / "env.sh.out");
        EXPECT_GT(PosixShell().open(u((temp.path / "env.sh").string()), u"", u"\\"), 32);
        const std::string seen = waitForFile(temp.path / "env.sh.out");
        EXPECT_NE(seen.find("ZORLO_KEPT=yes\n"), std::string::npos) << platform;
        EXPECT_EQ(seen.find("XDG_ACTIVATION_TOKEN"), std::string::npos) << platform;
        EXPECT_EQ(seen.find("DESKTOP_STARTUP_ID"), std::string::npos) << platform;
        EXPECT_EQ(seen.find("QT_QPA_PLATFORM=" + platform + "\n") != std::string::npos, inherited)
            << platform;
    }
}

// Tokens come from other processes (the environment, a second start): only
// plain ones of a sane length pass, so nothing rides along with them. Every
// character outside the allowed set takes the same path: a few stand for all.
TEST(ActivationToken, TakesOnlyPlainTokens) {
    const std::pair<std::string, bool> tokens[] = {
        {"0123456789abcdef0123456789abcdef", true},       // wlroots
        {"kwin-42_ab.c", true},                           // KWin
        {"gnome-shell/zorlo/1234-0-host_TIME5678", true}, // an X11 startup id
        {"a+b=c:d@e,f~g#h%i", true},
        {std::string(wayland::kMaxActivationToken, 'x'), true},
        {std::string(wayland::kMaxActivationToken + 1, 'x'), false},
        {"", false},
        {"two words", false},
        {"line\nbreak", false},
        {"$(reboot)", false},
        {"caf\xc3\xa9", false},
        {std::string("nul\0byte", 8), false},
    };
    for (const auto& [token, taken] : tokens) {
        EXPECT_EQ(wayland::isAcceptableActivationToken(token), taken) << token;
    }
}

TEST(PosixShell, RunsProgramsInTheirFolderOrFoundOnPathAndReportsMissingOnes) {
    TempFolder temp;
    writeProgram(temp.path / "zorlo-probe",
                 "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > \"$0.out\"");
    const ScopedEnv path("PATH", temp.path.string() + ":/usr/bin:/bin");
    PosixShell shell;
    EXPECT_GT(shell.open(u((temp.path / "zorlo-probe").string()), u"one \"two words\" th\\\"ree",
                         u(temp.path.string() + "\\")),
              32);
    EXPECT_EQ(waitForFile(temp.path / "zorlo-probe.out"),
              temp.path.string() + "\n[one]\n[two words]\n[th\"ree]\n");
    fs::remove(temp.path / "zorlo-probe.out");
    // "\" alone: no folder part, so the console's own current folder.
    EXPECT_GT(shell.open(u"zorlo-probe", u"", u"\\"), 32);
    EXPECT_EQ(waitForFile(temp.path / "zorlo-probe.out"), fs::current_path().string() + "\n");

    EXPECT_EQ(shell.open(u((temp.path / "missing.exe").string()), u"", u"\\"), 2);
    EXPECT_EQ(shell.open(u"no-such-program-anywhere", u"", u"\\"), 2);
    EXPECT_EQ(shell.open(u((temp.path / "nowhere" / "x.exe").string()), u"", u"\\"), 3);
    EXPECT_EQ(shell.open(u"", u"", u"\\"), 2);
}

TEST(PosixShell, HandsFoldersDocumentsAndAddressesToXdgOpen) {
    TempFolder temp;
    const fs::path bin = temp.path / "bin";
    fs::create_directory(bin);
    writeProgram(bin / "xdg-open",
                 "echo \"$1\" >> \"$0.out\"; case \"$1\" in *.nothing) exit 3;; esac");
    std::ofstream(temp.path / "notes.txt") << "text";
    std::ofstream(temp.path / "odd.nothing") << "?";
    const ScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    // "~" is the home folder only at the very start, and only alone or before "/".
    const ScopedEnv home("HOME", temp.path.string());
    PosixShell shell;

    // Each target, and what xdg-open receives for it: one address per kind.
    const std::pair<std::string, std::string> handed[] = {
        {temp.path.string(), temp.path.string()},
        {(temp.path / "notes.txt").string(), (temp.path / "notes.txt").string()},
        {"~", temp.path.string()},
        {"~/notes.txt", (temp.path / "notes.txt").string()},
        {"www.example.com", "http://www.example.com"},
        {"https://example.org/a?b", "https://example.org/a?b"},
        {"magnet:?xt=urn:btih:0123&dn=a~b", "magnet:?xt=urn:btih:0123&dn=a~b"},
        {"svn+ssh:x", "svn+ssh:x"},
    };
    std::string expected;
    for (const auto& [target, opened] : handed) {
        EXPECT_GT(shell.open(u(target), u"", u"\\"), 32) << target;
        expected += opened + "\n";
    }
    // Drive letters, other tildes and schemes out of the URI syntax are paths
    // here, missing ones: none reaches xdg-open.
    for (const char* notScheme : {"C:\\notes.txt", "c:notes.txt", "~user/notes.txt", "x~/notes.txt",
                                  "1a:b", "a b:c", "-x:y", ":x", "~notes.txt"}) {
        EXPECT_FALSE(PosixShell::hasUriScheme(u(notScheme))) << notScheme;
        const long result = shell.open(u(notScheme), u"", u"\\");
        EXPECT_TRUE(result == 2 || result == 3) << notScheme << " gave " << result;
    }
    EXPECT_EQ(shell.open(u((temp.path / "odd.nothing").string()), u"", u"\\"), 31);
    expected += (temp.path / "odd.nothing").string() + "\n";
    EXPECT_EQ(waitForFile(bin / "xdg-open.out"), expected);

    const ScopedEnv noOpener("PATH", temp.path.string());
    EXPECT_EQ(shell.open(u"www.example.com", u"", u"\\"), 31);
}

TEST(PosixProcessStarter, StartsTheFirstTerminalInTheFolderOrSaysNoneWasFound) {
    TempFolder temp;
    const fs::path bin = temp.path / "bin";
    const fs::path folder = temp.path / "project dir";
    fs::create_directory(bin);
    fs::create_directory(folder);
    writeProgram(bin / "x-terminal-emulator", "pwd > \"$0.out\"");
    writeProgram(bin / "xterm", "pwd > \"$0.out\"");
    PosixProcessStarter starter;
    {
        const ScopedEnv path("PATH", bin.string());
        const ScopedEnv home("HOME", temp.path.string());
        EXPECT_GT(starter.startShell(u"cmd /K", u"~/project dir\\"), 0);
        EXPECT_EQ(waitForFile(bin / "x-terminal-emulator.out"), folder.string() + "\n");
        EXPECT_FALSE(fs::exists(bin / "xterm.out"));
        EXPECT_TRUE(PosixFileSystem().folderExists(u"~/project dir"));
        EXPECT_TRUE(PosixFileSystem().folderExists(u"~"));
        EXPECT_FALSE(PosixFileSystem().folderExists(u"~/bin/xterm"));
    }
    {
        const ScopedEnv path("PATH", temp.path.string());
        const ScopedEnv terminal("TERMINAL", "");
        try {
            starter.startShell(u"cmd /K", u(folder.string()));
            FAIL() << "started a terminal that does not exist";
        } catch (const Failure& failure) {
            EXPECT_NE(failure.description().find(u"No terminal emulator found"), Text::npos);
        }
    }
}

TEST(ProgramFolder, IsThePortableCopysFolderElseTheUsersConfigFolder) {
    TempFolder temp;
    const ScopedEnv config("XDG_CONFIG_HOME", (temp.path / "config").string());
    const fs::path userFolder = temp.path / "config" / "zorlo";
    // What the program's folder holds, and where the settings live.
    const std::pair<std::vector<std::string>, fs::path> cases[] = {
        {{}, userFolder},
        {{"zorlo.param", "history", "Bleep.WAV"}, userFolder},
        {{"portable"}, {}},
        {{"zorlo.list"}, {}},
    };
    int n = 0;
    for (const auto& [files, expected] : cases) {
        const fs::path exeFolder = temp.path / ("bin" + std::to_string(++n));
        fs::create_directory(exeFolder);
        for (const std::string& file : files) {
            std::ofstream(exeFolder / file) << "";
        }
        EXPECT_EQ(programFolder(exeFolder), expected.empty() ? exeFolder : expected)
            << (files.empty() ? "" : files.front());
    }
    // The user's own folder is theirs alone: typed arguments go into its history.
    EXPECT_EQ(fs::status(userFolder).permissions(), fs::perms::owner_all);
    // A portable folder that others can write is passed over.
    const fs::path open = temp.path / "open";
    fs::create_directory(open);
    std::ofstream(open / "portable") << "";
    fs::permissions(open, fs::perms::all);
    EXPECT_EQ(programFolder(open), userFolder);

    const ScopedEnv relative("XDG_CONFIG_HOME", "config");
    const ScopedEnv home("HOME", temp.path.string());
    EXPECT_EQ(programFolder(temp.path / "not-there"), temp.path / ".config" / "zorlo");
}

TEST(VirtualKeys, MapWindowsCodesToKeysymsAndBack) {
    using Keysyms = std::vector<unsigned long>;
    const std::pair<int, Keysyms> toKeysyms[] = {
        {123, {XK_F12}}, {'A', {XK_a}}, {17, {XK_Control_L, XK_Control_R}}, {255, {}}};
    for (const auto& [code, keysyms] : toKeysyms) {
        EXPECT_EQ(x11::keysymsForVirtualKey(code), keysyms) << code;
    }
    const std::pair<unsigned long, int> toCodes[] = {
        {XK_F9, 120}, {XK_Q, 'Q'}, {XK_Shift_R, 16}, {XK_1, '1'}, {XK_EuroSign, 0}};
    for (const auto& [keysym, code] : toCodes) {
        EXPECT_EQ(x11::virtualKeyForKeysym(keysym), code) << keysym;
    }
}
