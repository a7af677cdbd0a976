#include "CodePage.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace {

QByteArray Encode(const QString& text)
{
    const auto* units = reinterpret_cast<const char16_t*>(text.constData());
    QByteArray bytes(CodePageEncodedSize(units, text.size()), Qt::Uninitialized);
    char* const end = EncodeCodePageInto(units, text.size(), bytes.data());
    EXPECT_EQ(end - bytes.data(), bytes.size()) << "the size told is the size written";
    return bytes;
}

}  // namespace

TEST(CodePage, CharactersItCannotHoldBecomeNumericReferences)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("caf\u00E9 \u20AC\u2122"), "caf\xE9 \x80\x99"},
        {QStringLiteral("\u0101"), "&#257;"},
        {QStringLiteral("a\u4E2Dz"), "a&#20013;z"},
        {QStringLiteral("\U0001F600!"), "&#128512;!"},  // a pair is one character
        {QString(QChar(0xD83D)) + u'x', "&#65533;x"},   // a lone surrogate
        {QStringLiteral("\uFFFF\U0010FFFF"), "&#65535;&#1114111;"},
        {QString(QChar(0x0080)), "&#128;"},    // a control the code page has no byte for
        {QString(QChar(0xEFE9)), "&#61417;"},  // a private-use character is a character here
        {QStringLiteral("&#257; stays"), "&#257; stays"},
    };
    for (const auto& [text, bytes] : cases) EXPECT_EQ(Encode(text), bytes) << text.toStdString();
}
