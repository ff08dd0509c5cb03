// The real console: engine, Qt windows and Linux launching, driven through the
// widgets as a user would, with a stand-in portal.
#include "platform/NoApplications.hpp"
#include "platform/dbus/PortalHotkey.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/posix/PosixProcessStarter.hpp"
#include "platform/posix/PosixShell.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/QtFrontEnd.hpp"

#include "ModalAnswer.hpp"

#include <QAbstractButton>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <mutex>

using namespace zorlo;

namespace {

class NoKeysDown : public KeyboardState {
  public:
    bool isKeyDown(int) const override { return false; }
};

// What the window did and when the applications were read, in one order.
struct Happenings : ActivityLog {
    void note(std::string_view line) override {
        const std::lock_guard<std::mutex> lock(mutex);
        lines.emplace_back(line);
    }
    QStringList seen() {
        const std::lock_guard<std::mutex> lock(mutex);
        QStringList all;
        for (const std::string& line : lines) {
            all << QString::fromStdString(line);
        }
        return all;
    }
    std::mutex mutex;
    std::vector<std::string> lines;
    std::function<void()> changed;
};

// One application, read as the desktop would: noted in the log, on whatever
// thread the reader chose.
class OneApplication : public ApplicationsSource {
  public:
    explicit OneApplication(Happenings& log) : log_(log) {}
    std::vector<Application> read() override {
        log_.note(QThread::currentThread() == qApp->thread() ? "read on the window's thread"
                                                             : "read");
        return {Application{u"Scratch Pad", {u"scratchpad"}, u"/bin/true", u"scratchpad.desktop"}};
    }
    void watch(std::function<void()> changed) override { log_.changed = std::move(changed); }

  private:
    Happenings& log_;
};

QString readMark(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class ConsoleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(marks.isValid()); }

    void init() {
        settings = std::make_unique<QTemporaryDir>();
        restart(nullptr);
        QVERIFY(front->frmMain().isVisible());
    }

    void cleanup() { front.reset(); }

    // The window first, then the applications, off the window's thread, and
    // on to the console; a burst of changes reads them once more.
    void applicationsAreReadAfterTheFirstPaintAndAfterChanges() {
        QTRY_VERIFY(happenings->seen().contains("read"));
        const QStringList seen = happenings->seen();
        QVERIFY2(seen.indexOf("painted") >= 0 && seen.indexOf("painted") < seen.indexOf("read"),
                 qPrintable(seen.join(",")));
        QTRY_VERIFY(happenings->changed);
        enter("apps scr");
        QVERIFY2(pane().contains("\r\n  Scratch Pad (/bin/true)\r\n"), qPrintable(pane()));
        for (int i = 0; i < 3; ++i) {
            happenings->changed();
        }
        QTRY_COMPARE(happenings->seen().count("read"), 2);
        QTest::qWait(ApplicationsReader::kSettleMs * 2);
        QCOMPARE(happenings->seen().count("read"), 2);
    }

    // The engine's rule is in the line_editing transcript; here the widget's
    // own click, and its drag selection, come first.
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

    // The drop's formats are the adapter test's and its messages the
    // transcripts'; here a drop on the real window reaches the engine.
    void aFileDroppedOnTheWindowBecomesAMacro() {
        const QString alpha = marks.filePath("alpha.txt");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(alpha)});
        QWidget* view = txt().viewport();
        QDragEnterEvent entered(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(view, &entered);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(view, &dropped);
        QTRY_VERIFY(pane().contains("OLE Drop\r\n  alpha added\r\n"));
        enter("list");
        QVERIFY(pane().contains("  alpha (" + alpha + ")"));
    }

    // Answered No, the real window stays open with its timer running; Yes
    // closes it. The console's side of both answers, through the close and the
    // exit command alike, is the history_unwritable transcript's.
    void failedFinalSaveAsksBeforeClosing() {
        // A folder where the list file goes: the final save cannot put the new file in place.
        QVERIFY(QDir(settings->path()).mkdir("zorlo.list"));
        enter("macro keep /bin/true");
        QString asked;
        answerModal<QMessageBox>([&asked](QMessageBox& box) {
            asked = box.windowTitle() + "|" + box.text();
            box.button(QMessageBox::No)->click();
        });
        QVERIFY(!front->frmMain().close());
        QVERIFY2(asked.startsWith("Zorlo Console|Could not save zorlo.list (") &&
                     asked.endsWith("). Close anyway?"),
                 qPrintable(asked));
        QVERIFY(front->frmMain().isVisible() && !front->frmMain().isUnloaded());
        QVERIFY(front->frmMain().theTimer().isActive());
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

    // As on native Wayland: the hotkey through a stand-in of the desktop
    // portal on a private bus, or, with no portal there, the desktop's settings.
    void desktopPortalBindsAndPressesTheHotkey() {
        QProcess bus;
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY(bus.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        QDBusConnection connection = QDBusConnection::connectToBus(address, "zorlo-portal-test");
        QVERIFY(connection.isConnected());

        restart(std::make_unique<PortalHotkey>(connection));
        QVERIFY2(pane().endsWith("  Hotkey: bind a key to zorlo\r\n>"), qPrintable(pane()));

        const QString record = marks.filePath("portal");
        QProcess portal;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        portal.setProcessEnvironment(environment);
        portal.setProcessChannelMode(QProcess::ForwardedChannels);
        portal.start("/usr/bin/python3", {QFINDTESTDATA("portal_standin.py"), record});
        QTRY_VERIFY(connection.interface()->isServiceRegistered("org.freedesktop.portal.Desktop"));
        const auto tell = [&](const QString& method, const QVariant& argument) {
            QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                               "/org/freedesktop/portal/desktop",
                                                               "org.zorlo.Test", method);
            call << argument;
            QCOMPARE(connection.call(call).type(), QDBusMessage::ReplyMessage);
        };

        restart(std::make_unique<PortalHotkey>(connection), QtFrontEnd::StartAs::Hidden);
        QVERIFY2(pane().endsWith("  Hotkey: F12 through the desktop\r\n>"), qPrintable(pane()));
        const QString bindF12 = "CreateSession zorlo1\n"
                                "BindShortcuts zorlo1 toggle [F12] [Show or hide Zorlo Console]\n";
        QTRY_COMPARE(readMark(record), bindF12);
        tell("Press", -1);
        QTRY_VERIFY(front->frmMain().isVisible());

        // A new preference opens a new session; the desktop's own choice is shown.
        tell("Answer", "Shift+F9");
        QCOMPARE(captureCtrlF9(), QPoint(100, 60)); // 1500 and 900 twips from the console's corner
        QVERIFY(pane().contains("  Hotkey: Ctrl+F9 through the desktop\r\n"));
        QTRY_COMPARE(readMark(record),
                     bindF12 +
                         "Close zorlo1\nCreateSession zorlo3\n"
                         "BindShortcuts zorlo3 toggle [CTRL+F9] [Show or hide Zorlo Console]\n");
        QTRY_VERIFY(pane().contains("  Hotkey: Shift+F9 through the desktop\r\n"));

        // The closed session's shortcut no longer counts (the change after it
        // shows that it has arrived); the new one's does.
        front->console().hideAfterStart();
        tell("Press", 0);
        tell("Change", "Alt+F1");
        QTRY_VERIFY(pane().contains("  Hotkey: Alt+F1 through the desktop\r\n"));
        QVERIFY(!front->frmMain().isVisible());
        tell("Press", 1);
        QTRY_VERIFY(front->frmMain().isVisible());

        tell("Answer", "cancel");
        captureCtrlF9();
        QTRY_VERIFY(pane().contains("  Hotkey: none from the desktop; bind a key to zorlo\r\n"));
        for (QProcess* process : {&portal, &bus}) {
            process->kill();
            process->waitForFinished();
        }
    }

  private:
    // A console (settings kept) with the desktop's hotkey service, null for the poll,
    // and one installed application.
    void restart(std::unique_ptr<HotkeyService> hotkeys,
                 QtFrontEnd::StartAs how = QtFrontEnd::StartAs::Shown) {
        front.reset();
        NativePorts ports;
        ports.shell = std::make_unique<PosixShell>();
        ports.processes = std::make_unique<PosixProcessStarter>();
        ports.files = std::make_unique<PosixFileSystem>();
        ports.keyboard = std::make_unique<NoKeysDown>();
        ports.foreground = std::make_unique<Foreground>();
        ports.keys = std::make_unique<KeyTranslator>();
        ports.hotkeys = std::move(hotkeys);
        ports.applications = std::make_unique<NoApplications>();
        happenings = std::make_unique<Happenings>();
        ports.applicationsSource = std::make_unique<OneApplication>(*happenings);
        ports.settingsFolder = settings->path().toStdString();
        front = std::make_unique<QtFrontEnd>(std::move(ports), *happenings);
        front->start(how);
    }

    // Runs param key and presses Ctrl+F9 in the capture window; returns where
    // that window stood relative to the console.
    QPoint captureCtrlF9() {
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
        return place;
    }

    CliTextEdit& txt() { return front->frmMain().txtCLI(); }
    QString pane() { return QString::fromStdU16String(front->textArea().text()); }
    QString status() { return front->frmMain().lblInfo().text(); }
    QString commandLine() { return QString::fromStdU16String(front->console().snapshot().cmdLine); }
    void enter(const QString& line) {
        QTest::keyClicks(&txt(), line);
        QTest::keyClick(&txt(), Qt::Key_Return);
    }

    QTemporaryDir marks;
    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<Happenings> happenings;
    std::unique_ptr<QtFrontEnd> front;
};

QTEST_MAIN(ConsoleTest)
#include "ConsoleTest.moc"
