// Test main of the checks that need a real X display and real input: focus and
// activation. Run under xvfb-run; without a display every test is skipped (exit 77).
#include "ExceptionBarrier.h"
#ifdef VESK_TEST_WITH_WEB
#include "WebSchemes.h"
#endif

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A plain window in a process of its own, another X client to take the focus from the tests'
// windows; its window id goes to standard output once it is on the screen.
int RunOtherClient(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Other client");
    window.setGeometry(700, 600, 200, 100);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    std::printf("%llu\n", static_cast<unsigned long long>(window.winId()));
    std::fflush(stdout);
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // As in the programs: a write past the file-size limit fails instead of killing.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) {
        std::puts("No X display: the focus checks run under xvfb-run.");
        return 77;
    }
    QTemporaryDir home;
    const QByteArray homePath = home.path().toLocal8Bit();
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (argc > 1 && std::strcmp(argv[1], "--other-client") == 0) return RunOtherClient(argc, argv);
    setenv("XDG_CONFIG_HOME", homePath.constData(), 1);
    setenv("HOME", homePath.constData(), 1);
#ifdef VESK_TEST_WITH_WEB
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 1);
    setenv("XDG_RUNTIME_DIR", homePath.constData(), 1);
    RegisterWebSchemes();  // URL schemes must be known before the application exists
#endif
    TQtApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
