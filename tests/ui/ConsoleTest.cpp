// The real console: engine, Qt windows and Linux launching, driven through the
// widgets as a user would, with stand-in programs on PATH.
#include "platform/NoApplications.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/posix/PosixProcessStarter.hpp"
#include "platform/posix/PosixShell.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/QtFrontEnd.hpp"

#include "ModalAnswer.hpp"

#include <QAbstractButton>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace zorlo;

namespace {

class NoKeysDown : public KeyboardState {
  public:
    bool isKeyDown(int) const override { return false; }
};

void writeProgram(const QString& path, const QByteArray& body) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QString readMark(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class ConsoleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(standIns.isValid() && tools.isValid());
        // What the console starts writes here, so the test can see it ran.
        qputenv("ZORLO_TEST_MARKS", standIns.path().toLocal8Bit());
        writeProgram(standIns.filePath("x-terminal-emulator"),
                     "pwd > \"$ZORLO_TEST_MARKS/terminal\"");
        writeProgram(standIns.filePath("xdg-open"),
                     "printf '%s\\n' \"$1\" >> \"$ZORLO_TEST_MARKS/opened\"");
        writeProgram(tools.filePath("record.sh"),
                     "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > "
                     "\"$ZORLO_TEST_MARKS/script\"");
        qputenv("PATH", standIns.path().toLocal8Bit() + ":" + qgetenv("PATH"));
    }

    void init() {
        settings = std::make_unique<QTemporaryDir>();
        NativePorts ports;
        ports.shell = std::make_unique<PosixShell>();
        ports.processes = std::make_unique<PosixProcessStarter>();
        ports.files = std::make_unique<PosixFileSystem>();
        ports.keyboard = std::make_unique<NoKeysDown>();
        ports.foreground = std::make_unique<Foreground>();
        ports.keys = std::make_unique<KeyTranslator>();
        ports.applications = std::make_unique<NoApplications>();
        ports.settingsFolder = settings->path().toStdString();
        front = std::make_unique<QtFrontEnd>(std::move(ports));
        front->start();
        QVERIFY(front->frmMain().isVisible());
    }

    void cleanup() { front.reset(); }

    void startsWithCaptionColoursAndPrompt() {
        QCOMPARE(front->frmMain().windowTitle(), QString("Zorlo Console v2.2.3"));
        const QPalette colours = txt().palette();
        QCOMPARE(colours.color(QPalette::Base), QColor(0, 0, 0));
        QCOMPARE(colours.color(QPalette::Text), QColor(0, 192, 0));
        QCOMPARE(txt().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(pane().startsWith("  Starting up...\r\n"));
        QVERIFY(pane().endsWith("\r\n>"));
        QCOMPARE(status(), QString("Ready"));
        QCOMPARE(front->textArea().caret(), front->textArea().length());
    }

    // Keys typed into the widget reach the engine: Enter runs the line, Home and
    // Shift+Home land on the command line, Esc completes, Up and Down recall.
    void keysThroughTheWidgetDriveTheCommandLine() {
        enter("listparams");
        QVERIFY(pane().contains("\r\n  key (123)\r\n"));
        QVERIFY(pane().endsWith("\r\n>"));
        QCOMPARE(status(), QString("Ready"));
        const QString macro = "macro notepad /usr/bin/true";
        enter(macro);
        QTest::keyClicks(&txt(), "edit no");
        for (const bool shift : {false, true}) {
            QTest::keyClick(&txt(), Qt::Key_End);
            QTest::keyClick(&txt(), Qt::Key_Home, shift ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(front->textArea().caret(), front->textArea().length() - 7);
            QCOMPARE(front->textArea().selLength(), shift ? 7 : 0);
        }
        QTest::keyClick(&txt(), Qt::Key_End);
        QTest::keyClick(&txt(), Qt::Key_Escape);
        QCOMPARE(commandLine(), QString("edit notepad"));
        QCOMPARE(status(), QString("'notepad' from MACROS"));
        // Each key and the line it recalls; Down past the newest line stays there.
        const std::pair<Qt::Key, QString> steps[] = {{Qt::Key_Up, macro},
                                                     {Qt::Key_Up, "listparams"},
                                                     {Qt::Key_Down, "listparams"},
                                                     {Qt::Key_Down, macro},
                                                     {Qt::Key_Down, macro}};
        for (const auto& [key, recalled] : steps) {
            QTest::keyClick(&txt(), key);
            QCOMPARE(commandLine(), recalled);
        }
        QVERIFY(pane().endsWith("\r\n>" + macro)); // the recalled line replaced the typed one
    }

    void clickInOutputReturnsCaretButSelectionStays() {
        QTest::keyClicks(&txt(), "abc");
        QWidget* view = txt().viewport();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(front->textArea().caret(), front->textArea().length());

        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(4, 4));
        QTest::mouseMove(view, QPoint(60, 4));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(60, 4));
        QVERIFY(front->textArea().selLength() > 0);
        QVERIFY(front->textArea().caret() < front->textArea().length() - 3);
        QCOMPARE(commandLine(), QString("abc"));
    }

    void droppedFilesAndTextBecomeMacros() {
        const QString alpha = tools.filePath("alpha.txt");
        const QString beta = tools.filePath("beta.doc");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(alpha), QUrl::fromLocalFile(beta)});
        drop(files, Qt::NoModifier);
        QTRY_VERIFY(pane().contains("  beta added\r\n"));
        QVERIFY(pane().contains("OLE Drop\r\n  alpha added\r\n"));

        QMimeData text;
        text.setText("http://www.example.com/page");
        drop(text, Qt::NoModifier);
        QTRY_VERIFY(pane().contains("  example added\r\n"));
        QVERIFY(pane().endsWith("\r\n>"));

        enter("list");
        QVERIFY(pane().contains("  alpha (" + alpha + ")"));
        QVERIFY(pane().contains("  beta (" + beta + ")"));
        QVERIFY(pane().contains("  example (http://www.example.com/page)"));
    }

    void questionAndNameBoxesAreAnswered() {
        QString question;
        answerModal<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            answerModal<QInputDialog>([](QInputDialog& name) {
                QCOMPARE(name.textValue(), QString("alpha"));
                name.setTextValue("alphasite");
                name.accept();
            });
            box.button(QMessageBox::Yes)->click();
        });
        enter("www.alpha.beta");
        QCOMPARE(question, QString("Add macro for www.alpha.beta?"));
        QVERIFY(pane().contains("  Macro added: alphasite\r\n"));
        // The address itself went to the desktop's handler, with the scheme it needs.
        QTRY_COMPARE(readMark(standIns.filePath("opened")), QString("http://www.alpha.beta\n"));
        QVERIFY(pane().contains("  Execute Literal: Success\r\n"));
    }

    void macroLaunchesARealScriptInItsFolder() {
        enter("macro run " + tools.filePath("record.sh"));
        enter("run one two");
        QTRY_VERIFY(!readMark(standIns.filePath("script")).isEmpty());
        QCOMPARE(readMark(standIns.filePath("script")), tools.path() + "\n[one]\n[two]\n");
        QVERIFY(pane().contains("  Execute run: Success\r\n"));
    }

    void missingTargetsReportTheirCodes() {
        enter("macro ghost " + tools.filePath("missing.sh"));
        enter("ghost");
        QVERIFY(pane().contains("  Execute ghost: Failed " + tools.filePath("missing.sh") +
                                "\r\n  (The specified file was not found.)\r\n"));
        enter("macro lost " + tools.filePath("nowhere/missing.sh"));
        enter("lost");
        QVERIFY(pane().contains("\r\n  (The specified path was not found.)\r\n"));
        // The one-line label shows such a two-line status from its top, first line whole.
        QVERIFY(status().startsWith("Execute lost: Failed ") && status().contains('\n'));
        QVERIFY(front->frmMain().lblInfo().alignment().testFlag(Qt::AlignTop));
    }

    void shellOpensTheTerminalInTheMacroFolder() {
        enter("macro proj " + tools.path());
        enter("shell proj");
        QVERIFY(pane().contains("  Shell open\r\n"));
        QTRY_COMPARE(readMark(standIns.filePath("terminal")), tools.path() + "\n");
    }

    void paramKeyCapturesCtrlF9() {
        QPoint place;
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [&, poll] {
            if (front->frmKey().isVisible()) {
                poll->stop();
                place = front->frmKey().pos() - front->frmMain().frameGeometry().topLeft();
                QTest::keyClick(&front->frmKey(), Qt::Key_F9, Qt::ControlModifier);
            }
        });
        poll->start(10);
        enter("param key");
        delete poll;
        QCOMPARE(place, QPoint(100, 60)); // 1500 and 900 twips from the console's corner
        QTRY_VERIFY(!front->frmKey().isVisible());
        enter("listparams");
        QVERIFY(pane().contains("  key (120)\r\n"));
        QVERIFY(pane().contains("  modifier (17)"));
    }

    void failedFinalSaveAsksBeforeClosing() {
        // A folder where the list file goes: the final save cannot put the new file in place.
        QVERIFY(QDir(settings->path()).mkdir("zorlo.list"));
        enter("macro keep /bin/true");
        // Both ways of closing, answered No: the console runs on with its changes
        // and the line typed so far, and the save's report never runs as a command.
        const std::pair<std::function<void()>, QString> closings[] = {
            {[this] { enter("exit"); }, ""},
            {[this] {
                 QTest::keyClicks(&txt(), "li");
                 QVERIFY(!front->frmMain().close());
             },
             "li"}};
        for (const auto& [closing, halfTyped] : closings) {
            QString asked;
            answerModal<QMessageBox>([&asked](QMessageBox& box) {
                asked = box.windowTitle() + "|" + box.text();
                box.button(QMessageBox::No)->click();
            });
            closing();
            QTRY_VERIFY(!asked.isEmpty());
            QVERIFY2(asked.startsWith("Zorlo Console|Could not save zorlo.list (") &&
                         asked.endsWith("). Close anyway?"),
                     qPrintable(asked));
            QVERIFY(front->frmMain().isVisible() && !front->frmMain().isUnloaded());
            QVERIFY(front->frmMain().theTimer().isActive());
            QVERIFY(pane().endsWith("\r\n>" + halfTyped));
            enter(QString("list").mid(halfTyped.size()));
            QVERIFY2(pane().endsWith("\r\n  keep (/bin/true)\r\n>"), qPrintable(pane().right(200)));
        }
        answerModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
        QVERIFY(front->frmMain().close());
        QVERIFY(front->frmMain().isUnloaded() && !front->frmMain().isVisible());
    }

    void endSessionSavesWithoutTouchingTheWindow_data() {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("saved") << false;
        QTest::newRow("failed") << true;
    }
    void endSessionSavesWithoutTouchingTheWindow() {
        QFETCH(bool, blocked);
        enter("macro keep /bin/true");
        front->frmMain().move(240, 120);
        QTRY_COMPARE(front->frmMain().knownFrame().topLeft(), QPoint(240, 120));
        if (blocked) {
            QVERIFY(QDir(settings->path()).mkdir("zorlo.list"));
        }
        const QString label = status();
        const QString before = pane();
        const QString failure = QString::fromStdU16String(front->endSession());
        // No box, and the pane, the label and the window stay as they were.
        QCOMPARE(status(), label);
        QCOMPARE(pane(), before);
        QVERIFY(front->frmMain().isVisible() && front->frmMain().isUnloaded());
        QVERIFY(front->endSession().empty()); // the shutdown runs once
        if (blocked) {
            QVERIFY2(failure.startsWith("Could not save zorlo.list (") && failure.endsWith(")"),
                     qPrintable(failure));
            return;
        }
        QCOMPARE(failure, QString());
        QVERIFY(readMark(settings->filePath("zorlo.list")).contains("\"keep\"\r\n\"/bin/true\""));
        // The place last seen, in twips.
        const QString param = readMark(settings->filePath("zorlo.param"));
        QVERIFY2(param.contains("\"left\"\r\n\"3600\"") && param.contains("\"top\"\r\n\"1800\""),
                 qPrintable(param));
    }

  private:
    CliTextEdit& txt() { return front->frmMain().txtCLI(); }
    QString pane() { return QString::fromStdU16String(front->textArea().text()); }
    QString status() { return front->frmMain().lblInfo().text(); }
    QString commandLine() { return QString::fromStdU16String(front->console().snapshot().cmdLine); }
    void enter(const QString& line) {
        QTest::keyClicks(&txt(), line);
        QTest::keyClick(&txt(), Qt::Key_Return);
    }
    void drop(QMimeData& data, Qt::KeyboardModifiers modifiers) {
        QWidget* view = txt().viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view, &dropped);
    }

    QTemporaryDir standIns;
    QTemporaryDir tools;
    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<QtFrontEnd> front;
};

QTEST_MAIN(ConsoleTest)
#include "ConsoleTest.moc"
