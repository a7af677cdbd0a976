#pragma once
// Helpers shared by the test suites.
#include <QByteArray>
#include <QString>
#include <functional>
#include <ostream>

// Failed expectations show a QString as its text in quotes.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testsupport {
// Runs the event loop until pred() holds or timeoutMs passes; returns pred().
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 15000);
// A fresh temporary folder for this test process (removed at exit).
QString TempDir();
// Writes bytes as the whole file (a failure to open fails the test).
void PutFileBytes(const QString& path, const QByteArray& bytes);
// The file's bytes, or "<unreadable>".
QByteArray FileBytes(const QString& path);
}  // namespace testsupport
