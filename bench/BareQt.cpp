// The toolkit's own floor for the start-up benchmark: a Qt Widgets program that
// shows one text edit and does nothing else.
#include <QApplication>
#include <QTextEdit>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QTextEdit edit;
    edit.show();
    return QApplication::exec();
}
