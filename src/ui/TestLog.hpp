#pragma once

#include <QString>

namespace zorlo {

// A line per window state change, appended to the file named by ZORLO_TEST_LOG,
// so that tests driving the real program can see what it did. Silent otherwise.
void testLog(const QString& line);

} // namespace zorlo
