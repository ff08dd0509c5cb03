// The desktop's applications through GIO, against desktop entries this test
// writes into scratch XDG folders: which ones are listed and how, how one
// launches, and the watch on their folders.
#include "platform/gio/GioApplications.hpp"
#include "PosixTestSupport.hpp"

#include <gtest/gtest.h>

#include <glib.h>

#include <map>

using namespace zorlo;
using namespace zorlo::posixtest;

namespace {

// The XDG folders, the language, the desktop and the entries as the tests set
// them. GIO reads the folders once per process and notices later changes only
// through its file monitors, so every entry is written before the first call.
struct ScratchDesktop {
    TempFolder temp;
    fs::path home = temp.path / "home";
    fs::path system = temp.path / "system";
    fs::path bin = temp.path / "bin";
    fs::path programs = temp.path / "programs"; // not on PATH
    fs::path work = temp.path / "work";
    ScopedEnv homeFolder{"HOME", home.string()};
    ScopedEnv dataHome{"XDG_DATA_HOME", home.string()};
    ScopedEnv dataDirs{"XDG_DATA_DIRS", system.string()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", (temp.path / "config").string()};
    ScopedEnv desktop{"XDG_CURRENT_DESKTOP", "ZorloTest"};
    ScopedEnv language{"LANGUAGE", "de"};
    ScopedEnv lcAll{"LC_ALL", "C.UTF-8"};
    ScopedEnv path{"PATH", bin.string() + ":/usr/bin:/bin"};

    ScratchDesktop() {
        for (const fs::path& folder :
             {home / "applications", system / "applications", bin, programs, work / "notes"}) {
            fs::create_directories(folder);
        }
        // Records its arguments, one a line, its folder and its environment.
        writeProgram(programs / "zorlo-recorder", "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; "
                                                  "env; } > \"" +
                                                      (temp.path / "record").string() + "\"");
        // GLib tries the generic terminal starter first where it knows it.
        for (const char* terminal : {"xdg-terminal-exec", "gnome-terminal"}) {
            writeProgram(bin / terminal, "case \"$1\" in --|-e) shift;; esac\n"
                                         "ZORLO_IN_TERMINAL=yes exec \"$@\"");
        }
        const std::string recorder = (programs / "zorlo-recorder").string();
        entry(system, "recorder", "Name=Recorder\nName[de]=Aufnehmer\nExec=" + recorder + " %F\n");
        entry(system, "uris", "Name=Uris\nExec=" + recorder + " --open %U\n");
        entry(system, "shell", "Name=Shell\nExec=" + recorder + " %f\nTerminal=true\n");
        writeProgram(bin / "zorlo-gone", "true");
        entry(system, "gone", "Name=Gone\nExec=zorlo-gone\n");
        entry(system, "plain", "Name=Plain Thing\nExec=true --flag %U\n");
        // Which entries show is GLib's rule (Hidden, OnlyShowIn, TryExec...);
        // this one proves the list goes through it.
        entry(system, "nodisplay", "Name=No Display\nExec=true\nNoDisplay=true\n");
        entry(system, "badpath", "Name=Bad Path\nExec=true\nPath=/zorlo-no-such\n");
    }

    void entry(const fs::path& root, const std::string& id, const std::string& keys) const {
        std::ofstream(root / "applications" / (id + ".desktop"))
            << "[Desktop Entry]\nType=Application\n"
            << keys;
    }

    std::string record() const { return waitForFile(temp.path / "record"); }
};

// One for the whole run; the tests run in the order they are written.
const ScratchDesktop& desktop() {
    static const ScratchDesktop scratch;
    return scratch;
}

std::map<std::string, Application> byKey(const std::vector<Application>& apps) {
    std::map<std::string, Application> keyed;
    for (const Application& app : apps) {
        keyed[toUtf8(app.key)] = app;
    }
    return keyed;
}

} // namespace

TEST(GioApplications, ListsWhatTheDesktopShows) {
    const ScratchDesktop& desk = desktop();
    const auto listed = byKey(GioApplications::read());
    // A program PATH finds is no other name.
    const Text recorder = u((desk.programs / "zorlo-recorder").string());
    const std::vector<Application> expected{
        {u"Bad Path", {u"badpath"}, u"true", u"badpath.desktop"},
        {u"Gone", {}, u"zorlo-gone", u"gone.desktop"},
        {u"Plain Thing", {u"plain"}, u"true --flag", u"plain.desktop"},
        {u"Aufnehmer", {u"recorder", u"zorlo-recorder"}, recorder, u"recorder.desktop"},
        {u"Shell", {u"zorlo-recorder"}, recorder, u"shell.desktop"},
        {u"Uris", {u"zorlo-recorder"}, recorder + u" --open", u"uris.desktop"},
    };
    ASSERT_EQ(listed.size(), expected.size());
    auto got = listed.begin();
    for (const Application& want : expected) {
        const Application& app = (got++)->second;
        EXPECT_TRUE(app.key == want.key && app.name == want.name && app.names == want.names &&
                    app.target == want.target)
            << toUtf8(app.key) << ": " << toUtf8(app.name) << " (" << toUtf8(app.target) << ")";
    }
}

// The words become files for the field codes; the application starts in the
// console's folder (in a terminal where its entry asks for one) with a literal
// launch's environment and the fresh token.
TEST(GioApplications, LaunchesWithFilesInTheConsolesFolder) {
    const ScratchDesktop& desk = desktop();
    const ScopedEnv stale("XDG_ACTIVATION_TOKEN", "stale-token");
    const ScopedEnv headless("QT_QPA_PLATFORM", "offscreen");
    const ScopedEnv kept("ZORLO_KEPT", "yes");
    // The compositor gives a token for each application but one.
    GioApplications apps([](const std::string& appId) -> std::optional<std::string> {
        if (appId == "uris") {
            return std::nullopt;
        }
        return "token-for-" + appId;
    });
    const Text folder = u(desk.work.string() + "\\");
    const std::string work = desk.work.string();

    struct Case {
        std::string key;
        std::vector<Text> words;
        std::string argv;
        bool inTerminal = false;
    };
    const Case cases[] = {
        {"recorder.desktop",
         {u"file:///tmp/two%20words.txt", u"notes/today.txt", u"~/own.txt"},
         "[/tmp/two words.txt]\n[" + work + "/notes/today.txt]\n[" + desk.home.string() +
             "/own.txt]\n"},
        {"uris.desktop",
         {u"https://example.org/?q=1", u"", u"a b.txt"},
         // A local file goes as its path even where the entry takes URIs.
         "[--open]\n[https://example.org/?q=1]\n[" + work + "/a b.txt]\n"},
        {"shell.desktop", {u"x.txt"}, "[" + work + "/x.txt]\n", true},
    };
    for (const Case& c : cases) {
        fs::remove(desk.temp.path / "record");
        EXPECT_EQ(apps.launch(Application{u"", {}, u"", u(c.key)}, c.words, folder), 42) << c.key;
        const std::string seen = desk.record();
        EXPECT_EQ(seen.substr(0, seen.find('\n') + 1 + c.argv.size()), work + "\n" + c.argv)
            << c.key;
        const std::string appId = c.key.substr(0, c.key.find('.'));
        EXPECT_EQ(seen.find("XDG_ACTIVATION_TOKEN=token-for-" + appId + "\n") != std::string::npos,
                  appId != "uris");
        EXPECT_EQ(seen.find("stale-token"), std::string::npos);
        EXPECT_NE(seen.find("\nZORLO_KEPT=yes\n"), std::string::npos);
        EXPECT_EQ(seen.find("QT_QPA_PLATFORM"), std::string::npos);
        EXPECT_EQ(seen.find("\nZORLO_IN_TERMINAL=yes\n") != std::string::npos, c.inTerminal);
    }

    // An entry removed since the list was read, a program removed since, a
    // folder of the entry's own that is not there.
    fs::remove(desk.bin / "zorlo-gone");
    EXPECT_EQ(apps.launch(Application{u"", {}, u"", u"missing.desktop"}, {}, folder), 2);
    EXPECT_EQ(apps.launch(Application{u"", {}, u"", u"gone.desktop"}, {}, folder), 2);
    EXPECT_EQ(apps.launch(Application{u"", {}, u"", u"badpath.desktop"}, {}, folder), 3);
}

// A new entry in any application folder is noticed, and the next read has it.
TEST(GioApplications, WatchSeesANewEntry) {
    const ScratchDesktop& desk = desktop();
    bool changed = false;
    const GioApplicationsWatch watch([&changed] { changed = true; });
    EXPECT_EQ(byKey(GioApplications::read()).count("later.desktop"), 0u);
    desk.entry(desk.home, "later", "Name=Later\nExec=true\n");
    for (int i = 0; i < 500 && !changed; ++i) {
        g_main_context_iteration(nullptr, FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(changed);
    EXPECT_EQ(byKey(GioApplications::read()).count("later.desktop"), 1u);
}
