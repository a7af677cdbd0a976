#pragma once
// Lossless text files: a document is read whole into lines and written back whole.
//
// Encodings. A document file that is well-formed UTF-8 as a whole, or that starts with the
// UTF-8 byte-order mark, is read as UTF-8 (below); any other is read whole in the 8-bit code
// page (CodePage.h) and written back in it, so its bytes come back too. Settings files are
// always read as UTF-8.
//
// Codec. Bytes are decoded as UTF-8. Every byte that is not part of a well-formed UTF-8
// sequence becomes a stand-in code point U+EF00 + byte (U+EF80..U+EFFF, Private Use Area),
// and EncodeText turns each stand-in back into its byte, so any byte string survives a
// decode/encode round trip unchanged. Stand-ins are plain BMP characters: they survive
// QString, the text pane's editing and the clipboard.
// A well-formed sequence whose code point would not survive is escaped the same way, one
// stand-in per byte: the stand-in range itself (so genuine U+EF80..U+EFFF in a file comes
// back as the same bytes), and U+2028, U+2029, U+FDD0, U+FDD1, which the text pane's
// document turns into paragraph breaks or frame markers.
// NUL decodes to U+0000 and encodes back to a NUL byte. A lone UTF-16 surrogate in text to
// be encoded (it can only come from outside) is written as U+FFFD.
//
// Lines. CR LF, CR and LF each end a line. Text ending in a line end has no extra empty
// line ("a\r\nb\r\n" is two lines); an empty file has zero lines. On writing, every line
// is followed by CR LF. A UTF-8 byte-order mark is remembered and written back.
//
// Reading. Most files are well-formed UTF-8 with nothing to escape: they are checked and
// decoded a chunk at a time by the fast decoder, and only a chunk that needs stand-ins or
// escapes goes through the byte-by-byte decoder. Both give the same text. The first chunk
// that is not well-formed turns a document to the code page: the text decoded so far is
// turned over where it lies, and the rest is decoded in the code page.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of decoded text, as described above.
QStringList SplitLines(const QString& text);

enum class TTextEncoding { Utf8, CodePage };

// How a file is read: a document may be in either encoding, a settings file is UTF-8.
enum class TTextSource { Document, Utf8Only };

struct TTextDocument {
    // The decoded text with '\n' after every line, the last one included: the text pane
    // takes it as it is.
    QString text;
    // The mark is UTF-8's: a document in the code page has none.
    bool bom = false;
    TTextEncoding encoding = TTextEncoding::Utf8;

    QStringList Lines() const { return SplitLines(text); }
};

// First stand-in: byte b (0x80..0xFF) stands as U+EF00 + b.
constexpr char16_t TextStandInBase = 0xEF00;

QString DecodeText(const QByteArray& bytes);
QByteArray EncodeText(const QString& text);

// Bytes decoded at a time: a chunk and its text stay in the processor's cache.
constexpr qsizetype TextChunkBytes = 64 * 1024;

// Bytes of a whole file <-> document, without touching the disk. The bytes are decoded
// about chunkBytes at a time (tests try small chunks).
TTextDocument ParseTextDocument(const QByteArray& bytes, qsizetype chunkBytes = TextChunkBytes,
                                TTextSource source = TTextSource::Document);
QByteArray FormatTextDocument(const QStringList& lines, bool bom, TTextEncoding encoding = TTextEncoding::Utf8);

// Raises EInOutError naming the file and the system's reason when it cannot be read.
TTextDocument ReadTextFile(const QString& path, TTextSource source = TTextSource::Document);
// Replaces the file through ReplaceFileDurably (DurableFile.h); on failure EInOutError names
// the file and the system's reason.
void WriteTextFile(const QString& path, const QStringList& lines, bool bom,
                   TTextEncoding encoding = TTextEncoding::Utf8);
