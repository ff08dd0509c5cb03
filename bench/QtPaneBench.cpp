// The Qt text area adapter under the engine's output, offscreen: writes into a
// pane at its limit, and a key typed there, which makes the engine read the
// command line back after the last prompt.
#include "Figures.hpp"

#include "console/Console.hpp"
#include "platform/fake/FakeDesktop.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/EngineEvents.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/QtTextArea.hpp"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace zorlo;

namespace {

// A write of the filling line (36 characters with indent and line break) from
// below this cannot pass 64,000, so the pane fills without being cut.
constexpr int kAlmostFull = 63950;

// The console with the real text area on a shown widget; every other port fake.
struct QtPane {
    QtPane()
        : folder("zorlo-bench-qt"), desk(folder.path()), area(edit), console(desktop()),
          events(console, [] {}) {
        area.setEvents(&events);
        edit.resize(640, 400);
        edit.show();
        events.formLoad();
    }
    Desktop desktop() {
        Desktop d = desk.desktop();
        return Desktop{area,
                       d.label,
                       d.window,
                       d.dialogs,
                       d.pump,
                       d.shell,
                       d.processes,
                       d.files,
                       d.keyboard,
                       d.sound,
                       d.captureWindow,
                       d.applications,
                       d.settingsFolder};
    }
    void fill() {
        {
            const Console::BusyGuard filling(console);
            while (area.length() < kAlmostFull) {
                console.writeOutput(u"Filling the pane up to its limit");
            }
        }
        console.appendText(console.getPrompt());
        QApplication::processEvents();
    }

    bench::ScratchFolder folder;
    FakeDesktop desk;
    KeyTranslator keys;
    CliTextEdit edit{keys};
    QtTextArea area;
    Console console;
    EngineEvents events;
};

void paneWrites(benchmark::State& state) {
    QtPane pane;
    pane.fill();
    const Console::BusyGuard running(pane.console); // output while a command runs
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            pane.console.writeOutput(u"Execute notepad: Success");
        }
        QApplication::processEvents(); // and the repaint that shows it
    }
}

void typedKey(benchmark::State& state) {
    QtPane pane;
    pane.fill();
    QTextCursor cursor = pane.edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("x"));
    if (pane.console.snapshot().cmdLine != u"x") {
        state.SkipWithError("the command line was not read back");
        return;
    }
    cursor.deletePreviousChar();
    for (auto _ : state) {
        cursor.insertText(QStringLiteral("x"));
        cursor.deletePreviousChar();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("qtPaneWrites", paneWrites)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("qtTypedKey", typedKey)->Repetitions(5);

    bench::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    bench::Verdicts verdicts(collector);
    verdicts.under("qtPaneWrites",
                   "1,000 writes of one line into a full pane (Qt adapter, offscreen)", 50);
    // Each loop types a key and deletes it: two changes read back by the engine.
    verdicts.under("qtTypedKey", "a key typed at the end of a full pane (Qt adapter, offscreen)", 1,
                   0.5);
    benchmark::Shutdown();
    return verdicts.exitCode();
}
