#pragma once
// Real input through the X server (xdotool), for the checks under Xvfb.
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

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
