#include "ui/TestLog.hpp"

#include <QFile>

#include <cstdlib>

namespace zorlo {

void testLog(const QString& line) {
    static const char* const path = std::getenv("ZORLO_TEST_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::Append | QIODevice::Text)) {
        file.write(line.toUtf8() + '\n');
    }
}

} // namespace zorlo
