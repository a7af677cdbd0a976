#pragma once
// The 8-bit code page (Windows-1252) that documents which are not UTF-8 are read and
// written in.
//
// Every byte decodes to one UTF-16 unit. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control character of the same value and
// encode back to their byte, so any byte string survives a decode/encode round trip.
// A character the code page cannot hold is written as an HTML numeric character reference,
// "&#" and the code point in decimal and ";" (a surrogate pair as one code point, a lone
// surrogate as U+FFFD), so nothing typed is lost. The other controls U+0080..U+009F have
// no byte of their own either and are written the same way.
#include <QtGlobal>

// Decodes n bytes at in into out (room for n units); returns the end of what it wrote.
char16_t* DecodeCodePageInto(const unsigned char* in, qsizetype n, char16_t* out);

// The number of bytes EncodeCodePageInto writes for the n units at in.
qsizetype CodePageEncodedSize(const char16_t* in, qsizetype n);
// Encodes the n units at in into out; returns the end of what it wrote.
char* EncodeCodePageInto(const char16_t* in, qsizetype n, char* out);
