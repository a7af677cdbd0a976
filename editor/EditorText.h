#pragma once
// Text rules of the editor's main window that need no window: the command line and the
// base tag the preview gets.
#include "SharedText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace editortext {

// The file named on the command line (arguments without the program). Each argument is
// trimmed; two arguments were one path split at a blank, so they are joined with one
// blank; none, or three and more, name no file. A relative path is made absolute against
// currentDir.
QString FileToOpen(const QStringList& arguments, const QString& currentDir);

// The base address for the path bar's text: a folder becomes its file URL; text that is
// already a URL with a scheme is used as it is. Either way it ends in "/".
QString BaseAddress(const QString& pathBarText);

// The base tag for the path bar's text: <BASE HREF="..."> with its base address.
QString BaseTag(const QString& pathBarText);
// The base tag for an address: <BASE HREF="address">.
QString BaseTagOf(const QString& address);

// The position right after the first "<HEAD>" (ASCII letters in any case), or -1. The text
// is scanned where it lies, piece by piece, without a copy.
qsizetype HeadTagEnd(const TSharedText& text);

// The text with <BASE HREF="..."> inserted right after the first "<HEAD>" (any case);
// text without that tag comes back unchanged.
QString InsertBaseHref(const QString& text, const QString& pathBarText);

// What the preview gets for text: the UTF-8 byte-order mark and the text's UTF-8 bytes, with
// baseTag (when not empty) inserted right after the first "<HEAD>". Safe to run on any thread
// over a copy of the text.
QByteArray PreviewBytes(const TSharedText& text, const QString& baseTag);

// The folder part of a file path, without a trailing separator.
QString FolderOf(const QString& filePath);

}  // namespace editortext
