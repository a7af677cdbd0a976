#pragma once
// Real input through the X server (xdotool), for the checks under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTest>

// Runs xdotool with arguments; whether it succeeded.
inline bool XDoTool(const QStringList& arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

// A real left click at a point on the screen.
inline bool ClickAt(const QPoint& p)
{
    return XDoTool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1"});
}

// A real pointer move to a point on the screen.
inline bool MoveTo(const QPoint& p)
{
    return XDoTool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
}

// With VESK_SHOT set to a folder: the screen round a window's rectangle, as the X server shows
// it, saved there as name.png, scaled by zoom.
inline void ShootAround(const QRect& window, const char* name, int zoom = 1)
{
    const QString folder = qEnvironmentVariable("VESK_SHOT");
    if (folder.isEmpty()) return;
    QTest::qWait(100);
    const QRect r = window.adjusted(-40, -60, 40, 40);
    QGuiApplication::primaryScreen()
        ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .scaled(zoom * r.size())
        .save(folder + u'/' + QString::fromLatin1(name) + QStringLiteral(".png"));
}
