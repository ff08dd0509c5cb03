// Settings and history files that are broken, huge or out of reach: the console
// starts with a clear report, and whatever it could not read is kept beside the
// new file at the first save. (Empty files, 8-bit ones, random bytes and pairs
// a save could not write back are the startup_* transcripts.)
#include "ConsoleSession.hpp"

#include "store/SettingsFile.hpp"

#include <fstream>
#include <map>

namespace zorlo::testing {
namespace {

using BadSettings = SessionTest;

// An edit made by hand while the console runs survives its next save as a
// kept file, every time; the console's own saves are not taken for edits.
TEST_F(BadSettings, AnEditMadeWhileTheConsoleRunsIsKeptAtEachSave) {
    ConsoleSession& s = startWith(kList, params());
    s.line(u"save");
    s.line(u"save");
    EXPECT_FALSE(s.paneHas(u"Kept the old"));
    const auto edit = [&](const std::string& file, const std::string& pair) {
        std::ofstream(folder / file.c_str(), std::ios::binary | std::ios::app) << pair;
        return readBytes(folder / file.c_str());
    };
    const std::string listEdit = edit("zorlo.list", "\"vi\"\r\n\"vim\"\r\n");
    const std::string paramEdit = edit("zorlo.param", "\"x\"\r\n\"1\"\r\n");
    s.line(u"save");
    EXPECT_TRUE(s.paneHas(u"Kept the old zorlo.list as zorlo.list.bad"));
    EXPECT_TRUE(s.paneHas(u"Kept the old zorlo.param as zorlo.param.bad"));
    EXPECT_TRUE(readBytes(folder / "zorlo.list.bad") == listEdit);
    EXPECT_TRUE(readBytes(folder / "zorlo.param.bad") == paramEdit);
    const std::string secondEdit = edit("zorlo.list", "\"vi\"\r\n\"nvim\"\r\n");
    s.line(u"save");
    EXPECT_TRUE(s.paneHas(u"Kept the old zorlo.list as zorlo.list.bad.1"));
    EXPECT_TRUE(readBytes(folder / "zorlo.list.bad.1") == secondEdit);
    EXPECT_TRUE(readBytes(folder / "zorlo.list.bad") == listEdit);
    EXPECT_FALSE(fs::exists(folder / "zorlo.param.bad.1"));
    EXPECT_EQ(s.status(), u"SAVE: Ok");
}

// The program begins reading the macro list before it builds the window. A
// console that takes that read over ends up as one that read the list itself:
// the same reports, macros and first save, for a whole list, one with pairs
// the list refuses or merges, one cut short, and none at all. It takes the
// read as it was: an edit made after it is the first save's kept file. A read
// of another folder's list is not taken.
TEST_F(BadSettings, AListReadAheadIsTakenOverAsIfTheConsoleHadReadItThen) {
    const std::string refused = kList + "say \"hi\"\r\n\"x\"\r\n\"ed\"\r\n\"vim\"\r\n";
    const std::string cut = kList + "\"vi\"\r\n";
    for (const std::string& list : {kList, refused, cut, std::string()}) {
        SCOPED_TRACE(list);
        enum Read { Itself, Ahead, AheadElsewhere };
        std::map<Read, Text> seen;
        for (const Read read : {Itself, Ahead, AheadElsewhere}) {
            const ScratchFolder own;
            const ScratchFolder elsewhere;
            writeFileBytes(own / "zorlo.param", params());
            if (!list.empty()) { // none: no list file
                writeFileBytes(own / "zorlo.list", list);
            }
            writeFileBytes(elsewhere / "zorlo.list", "\"other\"\r\n\"other.exe\"\r\n");
            auto preload =
                read == Itself
                    ? nullptr
                    : std::make_unique<ListPreload>(read == Ahead ? own.path() : elsewhere.path());
            if (read == Ahead && !list.empty()) {
                preload->wait();
                std::ofstream(own / "zorlo.list", std::ios::binary | std::ios::app)
                    << "\"late\"\r\n\"edit\"\r\n";
            }
            ConsoleSession s(own.path(), std::move(preload));
            s.line(u"list");
            const Text loaded = s.pane();
            s.line(u"save");
            seen[read] = loaded + u"|" + fromUtf8(readBytes(own / "zorlo.list"));
            if (read == Ahead && !list.empty()) {
                EXPECT_TRUE(
                    readBytes(own / "zorlo.list.bad").ends_with("\"late\"\r\n\"edit\"\r\n"));
            }
        }
        EXPECT_EQ(seen[Itself], seen[Ahead]);
        EXPECT_EQ(seen[Itself], seen[AheadElsewhere]);
        EXPECT_EQ(seen[Ahead].find(u"late"), Text::npos) << "the edit after the read is not in it";
    }
}

// How fast it loads is the benchmark's business (bench/); here: all of it, byte
// for byte, lines of a hundred thousand characters as well.
TEST_F(BadSettings, ATenMegabyteListLoadsAndSavesWhole) {
    BinList big;
    for (int i = 0; i < 100000; ++i) {
        const Text n = toText(1000000 + i);
        big.append(Bin{u"m" + n, u"C:\\Program Files\\Some Vendor\\Tool " + n +
                                     u"\\bin\\tool.exe --profile " + n +
                                     u" --data C:\\Users\\Someone\\AppData"});
    }
    big.append(Bin{Text(100000, u'n'), Text(100000, u'v')});
    const std::string bytes = encodeFileText(formatSettings(big));
    ASSERT_GE(bytes.size(), 10u << 20);

    ConsoleSession& s = startWith(bytes, params());
    s.line(u"save");

    EXPECT_TRUE(s.paneHas(u"LOAD: Param Ok"));
    EXPECT_EQ(s.console.macroList().count(), big.count());
    EXPECT_EQ(s.macro(Text(100000, u'n')), Text(100000, u'v'));
    EXPECT_TRUE(readBytes(folder / "zorlo.list") == bytes) << "the saved list differs";
}

// The program makes its per-user folder before the console starts; one that is
// gone anyway, or cannot be written (tests run as root, which no permission bits
// stop: a plain file stands where its parent folder should be), is reported, the
// memory keeps the macros, and a save once the folder is there keeps them all.
TEST_F(BadSettings, AFolderThatCannotBeWrittenIsReportedAndMemoryKeepsTheMacros) {
    for (const bool blocked : {false, true}) {
        SCOPED_TRACE(blocked ? "blocked" : "missing");
        if (blocked) {
            writeFileBytes(folder / "blocker", "a file, not a folder");
        }
        const fs::path settings = blocked ? folder / "blocker" / "settings" : folder / "gone";
        ConsoleSession& s = startIn(settings);
        // The reason is the system's own wording; the report names the file.
        EXPECT_TRUE(s.paneHas(u"LOAD: Error (") && s.paneHas(u": zorlo.list), Set defaults"));
        EXPECT_TRUE(blocked ||
                    s.paneHas(u"LOAD: Error (File not found: zorlo.list), Set defaults"));
        s.line(u"macro ed C:\\Tools\\editor.exe");
        s.line(u"save"); // the report names the file
        EXPECT_TRUE(s.status().starts_with(u"SAVE: Error (") &&
                    s.status().ends_with(u": zorlo.list)"))
            << toUtf8(s.status());

        // The final save fails: "no" keeps the console and its changes.
        s.close();
        EXPECT_EQ(s.desk.log.count("question"), 1u);
        EXPECT_FALSE(s.desk.window.unloaded());
        s.line(u"macro np notepad.exe");
        EXPECT_EQ(s.status(), u"Macro added: np");
        fs::remove(folder / "blocker");
        fs::create_directories(settings);
        s.line(u"save");
        EXPECT_EQ(s.status(), u"SAVE: Ok");
        s.close();
        EXPECT_TRUE(s.desk.window.unloaded());
        EXPECT_EQ(s.desk.log.count("question"), 1u);
        EXPECT_EQ(readBytes(settings / "zorlo.list"), kList);
        // The shutdown has run: the end of the session saves nothing again.
        fs::remove(settings / "zorlo.list");
        EXPECT_EQ(s.console.endSession(), u"");
        EXPECT_FALSE(fs::exists(settings / "zorlo.list"));
    }
}

// Where nobody can answer, the save runs once and says why it failed; a close
// afterwards neither asks nor saves again.
TEST_F(BadSettings, TheEndOfTheSessionSavesOnceWithoutAsking) {
    writeFileBytes(folder / "blocker", "a file, not a folder");
    ConsoleSession& s = startIn(folder / "blocker" / "settings");
    s.line(u"macro ed C:\\Tools\\editor.exe");
    const Text failure = s.console.endSession();
    EXPECT_TRUE(failure.starts_with(u"Could not save zorlo.list (")) << toUtf8(failure);
    EXPECT_EQ(s.console.endSession(), u"");
    s.close();
    EXPECT_TRUE(s.desk.window.unloaded());
    EXPECT_EQ(s.desk.log.count("question"), 0u);
    EXPECT_EQ(s.macro(u"ed"), u"C:\\Tools\\editor.exe") << "a command cut short finds its lists";
}

TEST_F(BadSettings, AHistoryOfAMillionLinesLoadsCompletesAndSavesItsNewest) {
    std::string lines;
    lines.reserve(13u << 20);
    for (int i = 0; i < 1000000; ++i) {
        lines += "entry" + std::to_string(1000000 + i) + "\r\n";
    }
    writeFileBytes(folder / "history", lines);
    ConsoleSession& s = startWith(kList, params());

    s.type(u"ed entry1999");
    s.key(vk::Escape);
    EXPECT_EQ(s.console.snapshot().cmdLine, u"ed entry1999000");
    EXPECT_EQ(s.status(), u"'entry1999000' from HISTORY");
    s.enter();

    // The file keeps the newest 501 entries, the memory all of them.
    EXPECT_EQ(s.console.snapshot().historyCount, 1000000u);
    const std::string saved = readBytes(folder / "history");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 501);
    EXPECT_TRUE(saved.starts_with("entry1999499\r\n")) << saved.substr(0, 40);
    EXPECT_TRUE(saved.ends_with("entry1999999\r\n"));
}

} // namespace
} // namespace zorlo::testing
