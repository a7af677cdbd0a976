// Test main of the checks that need a real X display and real input: focus and
// activation. Run under xvfb-run; without a display every test is skipped (exit 77).
#include "ExceptionBarrier.h"
#ifdef VESK_TEST_WITH_WEB
#include "WebSchemes.h"
#endif

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <cstdlib>

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
