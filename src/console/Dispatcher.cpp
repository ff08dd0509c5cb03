#include "console/Console.hpp"

#include "launch/ArgumentText.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

namespace zorlo {

void Console::runCommand() {
    d_.label.setCaption(u"Ready");
    endCompletion();
    ++recallCount;
    recallPos = recallCount;
    recall.resize(static_cast<std::size_t>(recallCount) + 1);
    recall[static_cast<std::size_t>(recallCount)] = cmdLine;
    history->Reset();
    try {
        parseArgs(cmdLine, args);
        const BusyGuard running(*this);
        const Text& word = args[1];
        const auto is = [&word](TextView command) { return equalsIgnoreCase(word, command); };
        if (is(u"help")) {
            writeOutput(helpText);
        } else if (is(u"macro")) {
            addMacro(args[2], args[3]);
        } else if (is(u"rename")) {
            renameMacro(args[2], args[3]);
        } else if (is(u"delete")) {
            deleteMacro(args[2]);
        } else if (is(u"shell")) {
            openShell(args[2]);
        } else if (is(u"list")) {
            listMacros(args[2]);
        } else if (is(u"listparams")) {
            listParams(Text());
        } else if (is(u"save")) {
            saveSettings();
        } else if (is(u"param")) {
            setParam(args[2]);
        } else if (is(u"max")) {
            maxWindow();
        } else if (is(u"min")) {
            minWindow();
        } else if (is(u"find")) {
            findMacros(args[2], true);
        } else if (is(u"apps")) {
            listApps(args[2]);
        } else if (is(u"exit")) {
            writeOutput(u"Exiting...");
            exitRequested = true;
        } else {
            runLaunchPath();
        }
    } catch (const Failure& failure) {
        reportFailure(failure.description());
    } catch (const std::exception& failure) {
        reportFailure(fromUtf8(failure.what()));
    }
}

void Console::reportFailure(const Text& description) {
    // The report is written while busy still holds: it ends in a line break,
    // and an unguarded change handling would take that for Enter and run the
    // same failing line again, without end.
    const BusyGuard reporting(*this);
    writeOutput(u"ERROR: " + description);
}

void Console::noteHistory(const Text& word, bool& reported) {
    history->addHistory(word);
    try {
        saveHistory();
    } catch (const Failure& failure) {
        // Only bookkeeping failed: the user's launch goes ahead.
        if (!reported) {
            writeOutput(u"History not saved (" + failure.description() + u")");
            reported = true;
        }
    }
}

namespace {

// A word that is no valid pattern names no application: the literal launch
// it got before applications were known goes ahead unchanged.
std::size_t appNamed(const AppIndex& apps, TextView word) {
    try {
        return apps.findNamed(word);
    } catch (const Failure&) {
        return 0;
    }
}

} // namespace

void Console::runLaunchPath() {
    bool literal = false;
    if (!args[1].empty() && args[1].front() == u'!') {
        args[1].erase(0, 1);
        literal = true;
    }
    const auto buildArgText = [this] {
        Text argText;
        for (int i = 2; i <= args.argCount; ++i) {
            argText += launchArgument(args[i]);
            offerMacro(args[i]);
            if (i < args.argCount) {
                argText += u' ';
            }
        }
        return argText;
    };

    long launchResult = 0;
    bool historyReported = false;
    Text note;
    Text argText;
    if (!literal) {
        for (int i = 2; i <= args.argCount; ++i) {
            if (!expandArgument(macros, args[i])) {
                noteHistory(args[i], historyReported);
            }
        }
        argText = buildArgText();
        // A word that matches several names launches the first of them, once.
        if (const std::size_t match = findItem(macros, args[1])) {
            const Text target(macros.at(match).VALUE);
            launchResult = execute(args[1], target, argText);
        } else if (const std::size_t app = appNamed(apps_, args[1])) {
            // An installed application answers where no macro does: it is
            // no unknown word, so neither reported nor offered as a macro.
            // A copy: the report lets events run, and a new list may arrive.
            launchResult = launchApplication(Application(apps_.at(app)));
            if (launchResult > 0) {
                noteHistory(args[1], historyReported);
            }
        } else {
            note = u"Unknown macro: ";
        }
    } else {
        argText = buildArgText();
        note = u"Literal: ";
    }

    if (!note.empty()) {
        writeOutput(note + args[1]);
        offerMacro(args[1]);
        launchResult = execute(u"Literal", args[1], argText);
        if (launchResult > 0 && !literal) {
            noteHistory(args[1], historyReported);
        }
    }

    if (launchResult > 0 && param(u"autohide") == u"1") {
        hidden = true;
        hideWindow();
    }
}

} // namespace zorlo
