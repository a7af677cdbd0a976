// Test main: every suite runs headless, with its own settings folder, whatever the
// caller's environment says.
#ifdef VESK_TEST_WITH_WEB
#include "WebSchemes.h"
#endif
#ifdef VESK_TEST_WITH_FORMS
#include "ExceptionBarrier.h"
#endif

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // As in the programs: a write past the file-size limit fails instead of killing.
    std::signal(SIGXFSZ, SIG_IGN);
    QTemporaryDir home;
    const QByteArray homePath = home.path().toLocal8Bit();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 1);
    setenv("XDG_CONFIG_HOME", homePath.constData(), 1);
    setenv("XDG_RUNTIME_DIR", homePath.constData(), 1);
    setenv("HOME", homePath.constData(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
#ifdef VESK_TEST_WITH_WEB
    RegisterWebSchemes();  // URL schemes must be known before the application exists
#endif
#ifdef VESK_TEST_WITH_FORMS
    TQtApplication app(argc, argv);  // the exception barrier and the application object
#else
    QApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
