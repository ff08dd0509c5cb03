// The Qt adapters on their own, with a recording stand-in for the engine.
#include "platform/ConsoleEvents.hpp"
#include "platform/HotkeyCapture.hpp"
#include "text/Failure.hpp"
#include "ui/CaretBlink.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/Foreground.hpp"
#include "ui/FrmKey.hpp"
#include "ui/FrmMain.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/QtConsoleWindow.hpp"
#include "ui/QtDialogs.hpp"
#include "ui/QtDroppedData.hpp"
#include "ui/QtEventPump.hpp"
#include "ui/QtSound.hpp"
#include "ui/QtTextArea.hpp"

#include "ModalAnswer.hpp"

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <fstream>
#include <functional>
#include <vector>

using namespace zorlo;

namespace {

struct Key {
    int code;
    int shift;
    bool operator==(const Key&) const = default;
};

// Lets QCOMPARE show which key differed.
char* toString(const std::vector<Key>& keys) {
    QByteArray text;
    for (const Key& key : keys) {
        text += QByteArray::number(key.code) + '/' + QByteArray::number(key.shift) + ' ';
    }
    return qstrdup(text.constData());
}

class RecordingEvents : public ConsoleEvents {
  public:
    void formLoad() override {}
    bool formUnload() override {
        ++unloads;
        return true;
    }
    Text endSession() override { return {}; }
    void formResize() override { ++resizes; }
    void textChange() override {
        ++changes;
        if (onChange) {
            onChange();
        }
    }
    void textKeyDown(int& keyCode, int shift) override {
        downs.push_back({keyCode, shift});
        if (keyCode == 38) {
            keyCode = 0; // Up is cancelled, as the engine does
        }
    }
    void textKeyUp(int keyCode, int shift) override { ups.push_back({keyCode, shift}); }
    void textMouseUp(int button, int shift) override { mouseUps.push_back({button, shift}); }
    void textDrop(const DroppedData& data, int shift) override {
        dropShift = shift;
        droppedFiles = data.files();
        ++drops;
    }
    void timerTick() override {
        ++ticks;
        if (onTick) {
            onTick();
        }
    }
    bool timerMayRest() const override { return quiet; }
    void togglePressed() override {}
    void hotkeyBound(const Text& /*trigger*/) override {}
    void hideAfterStart() override {}
    void applicationsRead(std::vector<Application> /*apps*/) override {}

    int ticks = 0;
    bool quiet = false;
    int changes = 0;
    int resizes = 0;
    int unloads = 0;
    int drops = 0;
    int dropShift = -1;
    std::vector<Text> droppedFiles;
    std::vector<Key> downs, ups, mouseUps;
    std::function<void()> onChange;
    std::function<void()> onTick;
};

} // namespace

// A player that writes down what it was asked to do.
class RecordingPlayer : public Sound {
  public:
    explicit RecordingPlayer(std::vector<std::string>& calls) : calls_(calls) {}
    void open(const std::filesystem::path& waveFile) override {
        calls_.push_back("open " + waveFile.filename().string());
    }
    void play() override { calls_.push_back("play"); }
    void close() override { calls_.push_back("close"); }

  private:
    std::vector<std::string>& calls_;
};

class AdapterTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        events = RecordingEvents();
        window = std::make_unique<FrmMain>(keys);
        area = std::make_unique<QtTextArea>(window->txtCLI());
        window->setEvents(&events);
        area->setEvents(&events);
    }
    void cleanup() {
        area.reset();
        window.reset();
    }

    // The player loads once, a turn of the event loop after the window is on
    // screen; a bleep due before then waits for it, one that is closed does not.
    void bleepWaitsForTheWindowAndLoadsItsPlayerOnce() {
        QTemporaryDir temporary;
        const std::filesystem::path folder(temporary.path().toStdU16String());
        const std::filesystem::path wave = folder / "Bleep.WAV";
        std::ofstream(wave) << "RIFF";
        struct Case {
            const char* name;
            std::filesystem::path file;
            bool closeFirst;
            int loads;
            std::vector<std::string> calls;
        };
        const std::vector<Case> cases{
            {"waits, then plays", wave, false, 1, {"open Bleep.WAV", "play"}},
            {"no file", folder / "none.wav", false, 0, {}},
            {"closed while waiting", wave, true, 0, {}},
        };
        for (const Case& c : cases) {
            std::vector<std::string> calls;
            int loads = 0;
            QtSound sound({}, ActivityLog::none(), [&] {
                ++loads;
                return std::make_unique<RecordingPlayer>(calls);
            });
            sound.open(c.file);
            sound.play();
            if (c.closeFirst) {
                sound.close();
            }
            QCoreApplication::processEvents();
            QVERIFY2(loads == 0, c.name); // not before the window is on screen
            sound.windowOnScreen();
            QVERIFY2(loads == 0, c.name); // nor inside the paint that put it there
            QCoreApplication::processEvents();
            QVERIFY2(loads == c.loads, c.name);
            QVERIFY2(calls == c.calls, c.name);
        }

        std::vector<std::string> calls;
        int loads = 0;
        QtSound sound({}, ActivityLog::none(), [&] {
            ++loads;
            return std::make_unique<RecordingPlayer>(calls);
        });
        sound.windowOnScreen();
        sound.open(wave);
        sound.play();
        QCoreApplication::processEvents();
        sound.play(); // the loaded player plays at once
        sound.holdBack(true);
        sound.play();
        QCOMPARE(loads, 1);
        QCOMPARE(calls, (std::vector<std::string>{"open Bleep.WAV", "play", "play"}));
    }

    // Green on black with a vertical scroll bar; the one-line status label shows
    // a two-line status from its top, its first line whole.
    void textAreaColoursScrollBarAndStatusAlignment() {
        const QPalette colours = window->txtCLI().palette();
        QCOMPARE(colours.color(QPalette::Base), QColor(0, 0, 0));
        QCOMPARE(colours.color(QPalette::Text), QColor(0, 192, 0));
        QCOMPARE(window->txtCLI().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(window->lblInfo().alignment().testFlag(Qt::AlignTop));
    }

    void textAndCaretMapBetweenCrLfAndParagraphs() {
        area->setText(u"ab\r\ncd\r\n>x");
        QCOMPARE(window->txtCLI().blockCount(), 3);
        QCOMPARE(area->text(), Text(u"ab\r\ncd\r\n>x"));
        QCOMPARE(area->length(), 10);
        QCOMPARE(area->caret(), 0); // a whole new text puts the caret at the start

        area->setCaret(4); // start of "cd"
        QCOMPARE(window->txtCLI().textCursor().position(), 3);
        QCOMPARE(area->caret(), 4);
        area->setCaret(3); // between CR and LF: the end of the line
        QCOMPARE(area->caret(), 2);
        area->setCaret(99);
        QCOMPARE(area->caret(), 10);

        area->setCaret(1);
        area->setSelLength(4); // "b", the line break, "c"
        QCOMPARE(window->txtCLI().textCursor().selectedText(), QString::fromUtf16(u"b\u2029c"));
        QCOMPARE(area->selLength(), 4);
        QCOMPARE(area->caret(), 1);

        area->replaceSelection(u"Z\r\nY");
        QCOMPARE(area->text(), Text(u"aZ\r\nYd\r\n>x"));
        QCOMPARE(area->caret(), 5);
        area->setText(u"one\rtwo\nthree");
        QCOMPARE(area->text(), Text(u"one\r\ntwo\r\nthree"));
    }

    // Output wraps after a blank. A stretch with no blank is shown whole,
    // broken where the width runs out; once it is gone, output wraps after
    // blanks again.
    void linesWrapAtBlanksAndAStretchWithoutBlanksWrapsToo() {
        window->resize(400, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QString words =
            QStringLiteral("one two three four five six seven eight nine ten ").repeated(12);
        const QString stretch = QStringLiteral("\r\n>") + QString(30000, QLatin1Char('x'));
        for (const QString& tail : {QString(), stretch, QString()}) {
            area->setText((words + tail).toStdU16String());
            const QTextDocument& document = *window->txtCLI().document();
            const QTextBlock last = document.lastBlock();
            qobject_cast<QPlainTextDocumentLayout*>(document.documentLayout())
                ->ensureBlockLayout(last);
            const QTextLayout& shown = *last.layout();
            QVERIFY(shown.lineCount() > 2);
            int next = 0;
            for (int i = 0; i < shown.lineCount(); ++i) {
                const QTextLine line = shown.lineAt(i);
                QCOMPARE(line.textStart(), next);
                QVERIFY(line.naturalTextWidth() <= line.width());
                QVERIFY(i == 0 || !tail.isEmpty() || last.text()[next - 1] == QLatin1Char(' '));
                next += line.textLength();
            }
            QCOMPARE(next, last.length() - 1);
        }
    }

    // The reads of a part and the cut of the start reach into the widget's
    // paragraphs; they must give what the whole text and setText give.
    void partReadsAndStartCutAgreeWithTheWholeText() {
        const std::vector<Text> texts = {u"", u">", u"ab\r\ncd\r\n>x", u"x>y>\r\n\r\n>",
                                         u"\r\n\r\nend>"};
        for (const Text& text : texts) {
            area->setText(text);
            const Text whole = area->text();
            for (int p = -1; p <= area->length() + 1; ++p) {
                const int from = std::clamp(p, 0, area->length());
                QCOMPARE(area->textFrom(p), whole.substr(static_cast<std::size_t>(from)));
            }
            for (int from = -1; from <= area->length() + 1; ++from) {
                for (int to = -1; to <= area->length() + 1; ++to) {
                    const int start = std::clamp(from, 0, area->length());
                    const int end = std::clamp(to, start, area->length());
                    QCOMPARE(area->textBetween(from, to),
                             whole.substr(static_cast<std::size_t>(start),
                                          static_cast<std::size_t>(end - start)));
                }
            }
            for (const Text needle : {u">", u"\r\n", u"", u"\n>", u"zz"}) {
                const std::size_t at = whole.rfind(needle);
                QCOMPARE(area->lastIndexOf(needle), at == Text::npos ? -1 : static_cast<int>(at));
            }
        }
        // The cut gives what setText gives for the new start and the rest.
        const Text text = u"ab\r\ncd\r\n>xy";
        for (int count = 0; count <= static_cast<int>(text.size()); ++count) {
            area->setText(u"(**TRUNCATED**)" + text.substr(static_cast<std::size_t>(count)));
            const Text expected = area->text();
            area->setText(text);
            area->setCaret(7);
            const int changes = events.changes;
            area->replaceStart(count, u"(**TRUNCATED**)");
            QCOMPARE(area->text(), expected);
            QCOMPARE(area->caret(), 0);
            QCOMPARE(area->selLength(), 0);
            QCOMPARE(events.changes, changes + 1);
        }
    }

    // The engine keeps the command line by reading only between the edges
    // that the adapter says are unchanged: they must be, whoever edits where,
    // also when a handling skips a read and the next one covers both edits.
    void unchangedEdgesHoldOverEveryKindOfEdit() {
        Text before;
        TextArea::Unchanged last;
        int handlings = 0;
        events.onChange = [&] {
            if (++handlings % 3 == 0) {
                return; // a busy handling reads nothing
            }
            const Text now = area->text();
            last = area->takeUnchanged();
            const auto head = static_cast<std::size_t>(last.head);
            const auto tail = static_cast<std::size_t>(last.tail);
            QVERIFY(last.head >= 0 && last.tail >= 0);
            QVERIFY(head + tail <= std::min(before.size(), now.size()));
            QCOMPARE(now.substr(0, head), before.substr(0, head));
            QCOMPARE(now.substr(now.size() - tail), before.substr(before.size() - tail));
            before = now;
        };
        window->show();
        QPlainTextEdit& edit = window->txtCLI();
        const auto at = [&](int position) {
            area->setCaret(position);
            area->setSelLength(0);
        };
        const auto widgetInsert = [&](int from, int to, const QString& text) {
            QTextCursor cursor(edit.document());
            cursor.setPosition(area->toWidgetPosition(from));
            cursor.setPosition(area->toWidgetPosition(to), QTextCursor::KeepAnchor);
            cursor.insertText(text);
        };
        const std::vector<std::function<void()>> edits = {
            [&] { area->setText(u"help line\r\n>" + Text(300, u'w')); },
            [&] { at(area->length()), QTest::keyClick(&edit, Qt::Key_X); },
            [&] { at(5), QTest::keyClick(&edit, Qt::Key_Y); },
            [&] { at(12), QTest::keyClick(&edit, Qt::Key_Backspace); },
            [&] { at(9), QTest::keyClick(&edit, Qt::Key_Delete); },
            [&] { at(20), QTest::keyClick(&edit, Qt::Key_Return); },
            [&] { widgetInsert(3, 25, QStringLiteral("a\nb>c")); },
            [&] { widgetInsert(area->length(), area->length(), QStringLiteral("pasted\ntwo")); },
            [&] { at(0), area->setSelLength(4), area->replaceSelection(u"\r\n\r\n"); },
            [&] { area->replaceStart(3, u"(**TRUNCATED**)"); },
            [&] { at(area->length()), area->replaceSelection(u"!"); },
            [&] { at(area->length()), QTest::keyClick(&edit, Qt::Key_Z); },
        };
        for (int round = 0; round < 3; ++round) { // each edit once with a read skipped
            for (const auto& change : edits) {
                change();
            }
        }
        // A key at the end of the line: only that key is left to read.
        at(area->length());
        area->replaceSelection(u"-"); // a read that leaves nothing pending
        if (handlings % 3 == 2) {
            area->replaceSelection(u"-");
        }
        QTest::keyClick(&edit, Qt::Key_Z);
        QCOMPARE(last.head, area->length() - 1);
        QCOMPARE(last.tail, 0);
        events.onChange = nullptr;
    }

    void caretHoldsStillAfterAWhileWithoutInputAndBlinksAgainOnInput() {
        const int desktops = QApplication::cursorFlashTime();
        QVERIFY(desktops > 0);
        {
            CaretBlink blink(std::chrono::milliseconds(30));
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::cursorFlashTime(), 0, 2000);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&window->txtCLI(), &press);
            QCOMPARE(QApplication::cursorFlashTime(), desktops);
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::cursorFlashTime(), 0, 2000);
        }
        QCOMPARE(QApplication::cursorFlashTime(), desktops); // the desktop's own again
    }

    void everyChangeRunsTheChangeHandlingOnce() {
        area->setText(u">");
        QCOMPARE(events.changes, 1);
        area->setCaret(1);
        area->replaceSelection(u"");
        QCOMPARE(events.changes, 2); // a write that changes nothing still reports

        // A write made inside the handling runs its own, nested handling once.
        bool wrote = false;
        events.onChange = [&] {
            if (!wrote) {
                wrote = true;
                area->replaceSelection(u"!");
            }
        };
        area->replaceSelection(u"a");
        QCOMPARE(events.changes, 4);
        events.onChange = nullptr;

        window->show();
        window->txtCLI().setFocus();
        QTest::keyClick(&window->txtCLI(), Qt::Key_B);
        QCOMPARE(events.changes, 5);
        QTest::keyClick(&window->txtCLI(), Qt::Key_Return);
        QCOMPARE(events.changes, 6);
        QVERIFY(area->text().ends_with(u"\r\n"));
        QTest::keyClick(&window->txtCLI(), Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(area->text().ends_with(u"\r\n\r\n")); // no line separator inside a paragraph
    }

    void keysReachTheEngineAsVirtualKeysAndMayBeCancelled() {
        area->setText(u"one\r\ntwo");
        area->setCaret(8);
        window->show();
        QTest::keyClick(&window->txtCLI(), Qt::Key_Up);
        QCOMPARE(area->caret(), 8); // cancelled: the widget never moved the caret
        QTest::keyClick(&window->txtCLI(), Qt::Key_Left);
        QCOMPARE(area->caret(), 7);
        QTest::keyClick(&window->txtCLI(), Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(&window->txtCLI(), Qt::Key_F9, Qt::ControlModifier | Qt::AltModifier);
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_Escape, Qt::Key_Down}) {
            QTest::keyClick(&window->txtCLI(), key);
        }

        // The modifiers go down first, each a key of its own.
        const std::vector<Key> downs{{38, 0}, {37, 0},  {16, 1}, {36, 1}, {17, 2},
                                     {18, 6}, {120, 6}, {35, 0}, {27, 0}, {40, 0}};
        QCOMPARE(events.downs, downs);
        std::vector<Key> ups;
        std::copy_if(events.ups.begin(), events.ups.end(), std::back_inserter(ups),
                     [](const Key& key) { return key.code < 16 || key.code > 18; });
        QCOMPARE(ups, (std::vector<Key>{
                          {38, 0}, {37, 0}, {36, 1}, {120, 6}, {35, 0}, {27, 0}, {40, 0}}));

        QTest::mouseClick(window->txtCLI().viewport(), Qt::LeftButton, Qt::ShiftModifier);
        QTest::mouseClick(window->txtCLI().viewport(), Qt::LeftButton);
        QCOMPARE(events.mouseUps, (std::vector<Key>{{1, 1}, {1, 0}}));
    }

    void dropsMapOntoTheEngineFormats() {
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://example.com/x")});
        files.setText("/tmp/a b.txt");
        const QtDroppedData fileDrop(files);
        QVERIFY(fileDrop.getFormat(DropFormat::Files));
        QVERIFY(!fileDrop.getFormat(DropFormat::Text)); // the text only names the file
        QCOMPARE(fileDrop.files(), std::vector<Text>{u"/tmp/a b.txt"});

        QMimeData both;
        both.setUrls({QUrl::fromLocalFile("/tmp/a.txt")});
        both.setText("see www.example.com\nnow");
        const QtDroppedData bothDrop(both);
        QVERIFY(bothDrop.getFormat(DropFormat::Files));
        QVERIFY(bothDrop.getFormat(DropFormat::Text));
        QCOMPARE(bothDrop.text(), Text(u"see www.example.com\r\nnow"));

        QMimeData picture;
        picture.setData("image/png", "png");
        QVERIFY(QtDroppedData(picture).getFormat(DropFormat::Bitmap));
        QMimeData other;
        other.setData("application/x-something", "?");
        const QtDroppedData unknown(other);
        for (auto format :
             {DropFormat::Files, DropFormat::Link, DropFormat::Text, DropFormat::Bitmap,
              DropFormat::Palette, DropFormat::Dib, DropFormat::Metafile}) {
            QVERIFY(!unknown.getFormat(format));
        }

        // Through the widget: drag-enter, then the drop, handed on once the drag is over.
        window->show();
        QWidget* target = window->txtCLI().viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton,
                              Qt::ControlModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::ControlModifier);
        QApplication::sendEvent(target, &drop);
        QCOMPARE(events.drops, 0);
        QTRY_COMPARE(events.drops, 1);
        QCOMPARE(events.dropShift, 2);
        QCOMPARE(events.droppedFiles, std::vector<Text>{u"/tmp/a b.txt"});
        QCOMPARE(events.changes, 0); // the widget inserted nothing itself
    }

    void geometryIsInTwipsAndResizesReachTheEngine() {
        QtConsoleWindow port(*window, foreground);
        port.setEvents(&events);
        port.setLeft(1500);
        port.setTop(3000);
        port.setWidth(6000);
        port.setHeight(3000);
        QCOMPARE(events.resizes, 2);
        QCOMPARE(window->frameGeometry(), QRect(100, 200, 400, 200));
        QCOMPARE((std::array{port.left(), port.top(), port.width(), port.height()}),
                 (std::array{1500, 3000, 6000, 3000}));
        port.setWidth(6000);
        QCOMPARE(events.resizes, 2); // no change of size, no resize handling
        QVERIFY_THROWS_EXCEPTION(Failure, port.setHeight(-15));

        // The text area runs to the client area's right and bottom edges,
        // whatever frame the engine's numbers leave room for.
        for (const Rect& rect : {Rect{0, 270, 5880, 2345}, Rect{0, 270, -120, 1500}}) {
            port.setTextAreaRect(rect);
            QCOMPARE(window->txtCLI().geometry(), QRect(0, 18, 400, 182));
        }
        QCOMPARE(port.screenWidth(), 15 * QGuiApplication::primaryScreen()->geometry().width());
    }

    void captureWindowRecordsKeyWithOneModifier() {
        HotkeyCapture capture;
        FrmKey frmKey(foreground, keys);
        capture.formLoad();
        frmKey.open(capture, 130, 90);
        QCOMPARE(frmKey.windowTitle(), QString("Zorlo Hotkey"));
        QVERIFY(frmKey.findChild<QLabel*>()->text() == "Press Hotkey");
        QCOMPARE(frmKey.pos(), QPoint(130, 90));

        QTest::keyClick(&frmKey, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(&frmKey, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(capture.hotKey, HotkeyCapture::kNothing); // modifiers alone are no hotkey
        QTest::keyClick(&frmKey, Qt::Key_F9, Qt::ControlModifier);
        QCOMPARE(capture.hotKey, 120);
        QCOMPARE(capture.modKey, 17);

        frmKey.shut(); // the program's own close is no cancel
        QVERIFY(!capture.closedWithoutKey);
        capture.formLoad();
        frmKey.open(capture, 0, 0);
        frmKey.close(); // the user's close ends the wait without a key
        QVERIFY(capture.closedWithoutKey);
        QVERIFY(!capture.waiting());
        capture.formLoad();
        frmKey.open(capture, 0, 0);
        QTest::keyClick(&frmKey, Qt::Key_Escape); // Esc backs out the same way
        QVERIFY(!capture.waiting());
        QCOMPARE(capture.hotKey, HotkeyCapture::kNothing);
        frmKey.shut();
        // Room for the title beside a title bar's icon and three buttons.
        QVERIFY(frmKey.width() >= frmKey.fontMetrics().horizontalAdvance("Zorlo Hotkey") + 120);
    }

    void dialogsAreModalAndAnswered() {
        QtDialogs dialogs(*window);
        window->show();
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answerModal<QMessageBox>([&](QMessageBox& box) {
            icon = box.icon();
            QVERIFY(box.isModal());
            box.button(QMessageBox::Yes)->click();
        });
        QVERIFY(dialogs.question(u"Add macro for www.a.b?", u"Zorlo"));
        QCOMPARE(icon, QMessageBox::Question); // No is the console test's

        QString shownDefault;
        QPoint place;
        answerModal<QInputDialog>([&](QInputDialog& box) {
            shownDefault = box.textValue();
            place = box.pos();
            box.setTextValue("typed");
            box.accept();
        });
        QCOMPARE(dialogs.inputBox(u"Macro name for x", u"Macro Name", u"base", 1500, 3000),
                 std::optional<Text>(u"typed"));
        QCOMPARE(shownDefault, QString("base"));
        QCOMPARE(place, QPoint(100, 200));
        answerModal<QInputDialog>([](QInputDialog& box) { box.reject(); });
        QCOMPARE(dialogs.inputBox(u"p", u"t", u"d", 0, 0), std::nullopt);
    }

    // A pump that spins would pass thousands of times between two timer
    // events; one that sleeps passes once for each event, whatever the clock.
    void waitingForEventsNeitherSpinsNorHangs() {
        QtEventPump pump;
        int fired = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
        timer.start(20);
        int passes = 0;
        while (fired < 5) {
            pump.waitForEvents();
            ++passes;
        }
        QVERIFY2(passes < 25, qPrintable(QString::number(passes)));
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        pump.doEvents();
        QVERIFY(ran);
    }

    void closingTheWindowUnloadsOnce() {
        window->show();
        window->close();
        window->unload();
        QCOMPARE(events.unloads, 1);
        QVERIFY(window->isUnloaded());
    }

    // The timer stops after a tick that the engine calls quiet, and only where
    // the desktop reports key changes; anything that may change the next tick
    // starts it again, including a wake that arrives during a tick.
    void timerRestsAfterAQuietTickUntilWoken() {
        const auto tickOnce = [this] {
            const int before = events.ticks;
            QTRY_VERIFY(events.ticks > before);
        };
        window->load();
        events.quiet = true;
        tickOnce();
        tickOnce();
        QVERIFY2(window->theTimer().isActive(), "rests without a key watch");

        window->allowTimerRest();
        events.onTick = [this] { window->wakeTimer(); };
        tickOnce();
        QVERIFY(window->theTimer().isActive());
        events.onTick = nullptr;
        tickOnce();
        QVERIFY(!window->theTimer().isActive());

        window->wakeTimer();
        QVERIFY(window->theTimer().isActive());
        tickOnce();
        QVERIFY(!window->theTimer().isActive());
        QEvent activation(QEvent::ActivationChange);
        QCoreApplication::sendEvent(window.get(), &activation);
        QVERIFY(window->theTimer().isActive());

        events.quiet = false;
        tickOnce();
        QVERIFY(window->theTimer().isActive());
        window->unload();
        window->wakeTimer();
        QVERIFY(!window->theTimer().isActive());
    }

  private:
    KeyTranslator keys;
    Foreground foreground;
    RecordingEvents events;
    std::unique_ptr<FrmMain> window;
    std::unique_ptr<QtTextArea> area;
};

QTEST_MAIN(AdapterTest)
#include "AdapterTest.moc"
