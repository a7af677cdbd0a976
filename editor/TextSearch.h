#pragma once
// Find in the code pane, without the window: where a search starts and the forward search
// itself.
#include <QStringView>

namespace textsearch {

// Where Find starts in the text: at the caret itself when nothing is selected (a match at
// the caret is found), one past the selection's start otherwise (so the match just found
// is passed over).
qsizetype SearchStart(qsizetype selStart, qsizetype selLength);

// The start of the first match of what in text at or after from, or -1. Without
// matchCase, ASCII letters match either case; every other character only itself. An
// empty what matches nothing.
qsizetype FindForward(QStringView text, QStringView what, qsizetype from, bool matchCase);

}  // namespace textsearch
