// The two programs themselves, started as the user starts them.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <csignal>

namespace {

// Whether the running process pid ignores signal, from its status in /proc.
bool Ignores(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigIgn:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

}  // namespace

TEST(Programs, AFileSizeLimitsSignalEndsNeither)
{
    // The kernel sends it to a process writing past its limit (ulimit -f); ignored, the write
    // fails with EFBIG instead and the save reports it with the text still in the pane.
    for (const char* program : {VESK_EDITOR_PROGRAM, VESK_HELP_PROGRAM}) {
        SCOPED_TRACE(program);
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        // As from a shell: this test program ignores the signal, which a child would inherit.
        process.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
        process.start(QString::fromLocal8Bit(program), {});
        ASSERT_TRUE(process.waitForStarted());
        EXPECT_TRUE(testsupport::WaitFor([&] { return Ignores(process.processId(), SIGXFSZ); }));
        ::kill(pid_t(process.processId()), SIGXFSZ);
        EXPECT_FALSE(process.waitForFinished(1000));
        EXPECT_EQ(process.state(), QProcess::Running);
        process.kill();
        process.waitForFinished();
    }
}
