#pragma once
// Text measured the way the window layer draws it, for code that lays text out without a window.
#include <QFont>
#include <QSize>
#include <QString>

// Width and height of text in font, one line.
QSize TextExtent(const QFont& font, const QString& text);
