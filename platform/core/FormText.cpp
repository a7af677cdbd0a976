#include "FormText.h"

#include "SysUtils.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

TFormValue TFormValue::Integer(qint64 v)
{
    TFormValue r;
    r.type = TValueType::vaInteger;
    r.integer = v;
    return r;
}

TFormValue TFormValue::Float(double v)
{
    TFormValue r;
    r.type = TValueType::vaFloat;
    r.real = v;
    return r;
}

TFormValue TFormValue::String(const QString& v)
{
    TFormValue r;
    r.type = TValueType::vaString;
    r.text = v;
    return r;
}

TFormValue TFormValue::Ident(const QString& v)
{
    TFormValue r;
    r.type = TValueType::vaIdent;
    r.text = v;
    return r;
}

namespace {

// Deep nesting only comes from corrupt input; the limit keeps recursion off the stack's end.
constexpr int kMaxDepth = 256;

enum class Tok { End, Ident, Integer, Float, String, Symbol };

bool IsHex(QChar c)
{
    ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}
bool IsDecimal(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}
bool IsIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool IsIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

class Parser {
public:
    explicit Parser(const QString& text) : s_(text) { Next(); }

    TFormObject ParseRoot()
    {
        TFormObject root = ParseObject(0);
        if (tok_ != Tok::End) Fail(QStringLiteral("End of form resource expected"));
        return root;
    }

    TFormValue ParseSingleValue()
    {
        TFormValue v = ParseValue(0);
        if (tok_ != Tok::End) Fail(QStringLiteral("Invalid property value"));
        return v;
    }

private:
    [[noreturn]] void Fail(const QString& what) const
    {
        throw EReadError(QStringLiteral("Line %1: %2").arg(tokLine_).arg(what));
    }

    QChar Peek(int ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : QChar(); }
    bool AtEnd() const { return pos_ >= s_.size(); }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            QChar c = s_[pos_];
            if (c == u'\n') ++line_;
            if (!c.isSpace() && c != QChar(0xFEFF)) break;
            ++pos_;
        }
    }

    // Reads the next token into tok_/tokText_/tokInt_/tokReal_.
    void Next()
    {
        SkipBlanks();
        tokLine_ = line_;
        tokText_.clear();
        if (AtEnd()) {
            tok_ = Tok::End;
            return;
        }
        QChar c = s_[pos_];
        if (IsIdentStart(c)) return ReadIdent();
        if (c == u'\'' || c == u'#') return ReadString();
        if (IsDecimal(c) || c == u'$' || (c == u'-' && (IsDecimal(Peek(1)) || Peek(1) == u'$'))) return ReadNumber();
        tok_ = Tok::Symbol;
        tokText_ = c;
        ++pos_;
    }

    void ReadIdent()
    {
        int start = pos_;
        while (!AtEnd() && IsIdentChar(s_[pos_])) ++pos_;
        tok_ = Tok::Ident;
        tokText_ = s_.mid(start, pos_ - start);
    }

    // A string token: quoted runs ('' is a quote) and #nnn / #$hh character codes, adjacent.
    void ReadString()
    {
        tok_ = Tok::String;
        for (;;) {
            QChar c = Peek();
            if (c == u'\'') {
                ++pos_;
                for (;;) {
                    if (AtEnd() || s_[pos_] == u'\n' || s_[pos_] == u'\r') Fail(QStringLiteral("Unterminated string"));
                    if (s_[pos_] == u'\'') {
                        if (Peek(1) != u'\'') break;
                        ++pos_;
                    }
                    tokText_ += s_[pos_++];
                }
                ++pos_;
            } else if (c == u'#') {
                ++pos_;
                int base = 10;
                if (Peek() == u'$') {
                    base = 16;
                    ++pos_;
                }
                std::optional<qint64> code = ReadDigits(base);
                if (!code || *code < 0 || *code > 0x10FFFF) Fail(QStringLiteral("Invalid character code"));
                char32_t ch = char32_t(*code);
                tokText_ += QString::fromUcs4(&ch, 1);
            } else {
                return;
            }
        }
    }

    // Digits in base; nothing when there are none or the number does not fit 64 bits.
    std::optional<qint64> ReadDigits(int base)
    {
        int start = pos_;
        while (!AtEnd() && (base == 16 ? IsHex(s_[pos_]) : IsDecimal(s_[pos_]))) ++pos_;
        if (pos_ == start) return std::nullopt;
        bool ok = false;
        QStringView digits = QStringView(s_).mid(start, pos_ - start);
        qint64 v = digits.toLongLong(&ok, base);
        if (ok) return v;
        if (base != 16) return std::nullopt;
        quint64 u = digits.toULongLong(&ok, base);  // $FFFFFFFFFFFFFFFF style bit patterns
        if (!ok) return std::nullopt;
        return qint64(u);
    }

    void ReadNumber()
    {
        bool negative = Peek() == u'-';
        if (negative) ++pos_;
        if (Peek() == u'$') {
            ++pos_;
            std::optional<qint64> v = ReadDigits(16);
            // The negation of the most negative value has no 64-bit result.
            if (!v || IsIdentChar(Peek()) || (negative && *v == std::numeric_limits<qint64>::min()))
                Fail(QStringLiteral("Invalid integer"));
            tok_ = Tok::Integer;
            tokInt_ = negative ? -*v : *v;
            return;
        }
        int start = pos_;
        while (IsDecimal(Peek())) ++pos_;
        bool isFloat = false;
        if (Peek() == u'.' && IsDecimal(Peek(1))) {
            isFloat = true;
            ++pos_;
            while (IsDecimal(Peek())) ++pos_;
        }
        if ((Peek() == u'e' || Peek() == u'E') &&
            (IsDecimal(Peek(1)) || ((Peek(1) == u'+' || Peek(1) == u'-') && IsDecimal(Peek(2))))) {
            isFloat = true;
            pos_ += 2;
            while (IsDecimal(Peek())) ++pos_;
        }
        // The sign stays with the digits, so the most negative value reads as it is written.
        const qsizetype signedStart = negative ? start - 1 : start;
        QString digits = s_.mid(signedStart, pos_ - signedStart);
        if (IsIdentChar(Peek())) Fail(QStringLiteral("Invalid number"));
        bool ok = false;
        if (isFloat) {
            tok_ = Tok::Float;
            tokReal_ = digits.toDouble(&ok);
            if (!ok || !std::isfinite(tokReal_)) Fail(QStringLiteral("Invalid floating point number"));
        } else {
            tok_ = Tok::Integer;
            tokInt_ = digits.toLongLong(&ok);
            if (!ok) Fail(QStringLiteral("Invalid integer"));
        }
    }

    bool IsSymbol(char c) const { return tok_ == Tok::Symbol && tokText_ == QLatin1Char(c); }
    bool IsKeyword(const char* k) const
    {
        return tok_ == Tok::Ident && tokText_.compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
    }
    void Expect(char c)
    {
        if (!IsSymbol(c))
            Fail(tok_ == Tok::End ? QStringLiteral("Unexpected end of form resource")
                                  : QStringLiteral("'%1' expected").arg(QLatin1Char(c)));
        Next();
    }
    QString ExpectIdent()
    {
        if (tok_ != Tok::Ident)
            Fail(tok_ == Tok::End ? QStringLiteral("Unexpected end of form resource")
                                  : QStringLiteral("Identifier expected"));
        QString t = tokText_;
        Next();
        return t;
    }
    void CheckDepth(int depth) const
    {
        if (depth > kMaxDepth) Fail(QStringLiteral("Form resource nested too deeply"));
    }

    TFormObject ParseObject(int depth)
    {
        CheckDepth(depth);
        TFormObject o;
        o.line = tokLine_;
        if (IsKeyword("inherited"))
            o.kind = TFormObject::Inherited;
        else if (!IsKeyword("object"))
            Fail(QStringLiteral("'object' expected"));
        Next();
        QString first = ExpectIdent();
        if (IsSymbol(':')) {
            Next();
            o.name = first;
            o.className = ExpectIdent();
        } else {
            o.className = first;
        }
        while (!IsKeyword("end")) {
            if (tok_ == Tok::End) Fail(QStringLiteral("Unexpected end of form resource"));
            if (IsKeyword("object") || IsKeyword("inherited"))
                o.children.append(ParseObject(depth + 1));
            else
                o.properties.append(ParseProperty(depth));
        }
        Next();
        return o;
    }

    TFormProperty ParseProperty(int depth)
    {
        TFormProperty p;
        p.line = tokLine_;
        p.name = ExpectIdent();
        while (IsSymbol('.')) {
            Next();
            p.name += u'.' + ExpectIdent();
        }
        Expect('=');
        p.value = ParseValue(depth + 1);
        return p;
    }

    TFormValue ParseValue(int depth)
    {
        CheckDepth(depth);
        TFormValue v;
        v.line = tokLine_;
        switch (tok_) {
        case Tok::Integer:
            v.type = TValueType::vaInteger;
            v.integer = tokInt_;
            Next();
            break;
        case Tok::Float:
            v.type = TValueType::vaFloat;
            v.real = tokReal_;
            Next();
            break;
        case Tok::String:
            v.type = TValueType::vaString;
            v.text = ParseStringSum();
            break;
        case Tok::Ident:
            v.type = TValueType::vaIdent;
            v.text = ParseDottedIdent();
            break;
        case Tok::Symbol:
            if (IsSymbol('['))
                ParseSet(v);
            else if (IsSymbol('('))
                ParseList(v, depth);
            else if (IsSymbol('<'))
                ParseCollection(v, depth);
            else if (IsSymbol('{'))
                ParseBinary(v);
            else
                Fail(QStringLiteral("Invalid property value"));
            break;
        case Tok::End: Fail(QStringLiteral("Unexpected end of form resource"));
        }
        return v;
    }

    // 'abc' + 'def': a long string continued across lines.
    QString ParseStringSum()
    {
        QString t = tokText_;
        Next();
        while (IsSymbol('+')) {
            Next();
            if (tok_ != Tok::String) Fail(QStringLiteral("String expected"));
            t += tokText_;
            Next();
        }
        return t;
    }

    // A reference may name a component of another root: Form2.Button1.
    QString ParseDottedIdent()
    {
        QString t = ExpectIdent();
        while (IsSymbol('.')) {
            Next();
            t += u'.' + ExpectIdent();
        }
        return t;
    }

    void ParseSet(TFormValue& v)
    {
        v.type = TValueType::vaSet;
        Next();
        if (IsSymbol(']')) return Next();
        for (;;) {
            if (tok_ == Tok::Ident)
                v.elements.append(tokText_);
            else if (tok_ == Tok::Integer)
                v.elements.append(QString::number(tokInt_));
            else
                Fail(QStringLiteral("Set element expected"));
            Next();
            if (IsSymbol(']')) return Next();
            Expect(',');
        }
    }

    void ParseList(TFormValue& v, int depth)
    {
        v.type = TValueType::vaList;
        Next();
        while (!IsSymbol(')')) v.items.append(ParseValue(depth + 1));
        Next();
    }

    void ParseCollection(TFormValue& v, int depth)
    {
        v.type = TValueType::vaCollection;
        Next();
        while (!IsSymbol('>')) {
            if (!IsKeyword("item"))
                Fail(tok_ == Tok::End ? QStringLiteral("Unexpected end of form resource")
                                      : QStringLiteral("'item' expected"));
            Next();
            QList<TFormProperty> props;
            while (!IsKeyword("end")) props.append(ParseProperty(depth + 1));
            Next();
            v.entries.append(props);
        }
        Next();
    }

    // The lexer stopped right after '{'; hex digit pairs follow, blanks allowed, up to '}'.
    void ParseBinary(TFormValue& v)
    {
        v.type = TValueType::vaBinary;
        QByteArray hex;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail(QStringLiteral("Unexpected end of form resource"));
            QChar c = s_[pos_++];
            if (c == u'}') break;
            if (!IsHex(c)) Fail(QStringLiteral("Invalid binary value"));
            hex += c.toLatin1();
        }
        if (hex.size() % 2) Fail(QStringLiteral("Invalid binary value"));
        v.binary = QByteArray::fromHex(hex);
        Next();
    }

    const QString& s_;
    int pos_ = 0;
    int line_ = 1;
    Tok tok_ = Tok::End;
    int tokLine_ = 1;
    QString tokText_;
    qint64 tokInt_ = 0;
    double tokReal_ = 0;
};

// ---- formatting ----

constexpr int kStringChunk = 64;
constexpr int kBinaryLine = 32;

QString FormatFloat(double d)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    QString t = QString::fromLatin1(buf, int(r.ptr - buf));
    if (!t.contains(u'.') && !t.contains(u'e') && !t.contains(u'n') && !t.contains(u'i')) t += QStringLiteral(".0");
    return t;
}

// Printable ASCII goes in quotes; everything else as #code so the text stays 7-bit clean.
QString QuoteString(QStringView s)
{
    QString out;
    bool quoted = false;
    for (QChar c : s) {
        ushort u = c.unicode();
        if (u >= 32 && u < 127) {
            if (!quoted) out += u'\'';
            quoted = true;
            out += c;
            if (c == u'\'') out += c;
        } else {
            if (quoted) out += u'\'';
            quoted = false;
            out += u'#' + QString::number(u);
        }
    }
    if (quoted) out += u'\'';
    if (out.isEmpty()) out = QStringLiteral("''");
    return out;
}

class Formatter {
public:
    QString Take() { return std::move(out_); }

    void Object(const TFormObject& o, int indent)
    {
        QString pad(indent, u' ');
        out_ += pad + (o.kind == TFormObject::Inherited ? QStringLiteral("inherited ") : QStringLiteral("object "));
        out_ += o.name.isEmpty() ? o.className : o.name + QStringLiteral(": ") + o.className;
        out_ += u'\n';
        for (const TFormProperty& p : o.properties) Property(p, indent + 2);
        for (const TFormObject& c : o.children) Object(c, indent + 2);
        out_ += pad + QStringLiteral("end\n");
    }

private:
    void Property(const TFormProperty& p, int indent)
    {
        out_ += QString(indent, u' ') + p.name + QStringLiteral(" =");
        Value(p.value, indent + 2, QStringLiteral(" "));
        out_ += u'\n';
    }

    // Writes a value: lead goes before it (a blank after "Name =", a line break and
    // indentation for list elements).
    void Value(const TFormValue& v, int indent, const QString& lead)
    {
        QString newLine = u'\n' + QString(indent, u' ');
        switch (v.type) {
        case TValueType::vaString:
            if (v.text.size() <= kStringChunk) {
                out_ += lead + QuoteString(v.text);
            } else {
                for (int i = 0; i < v.text.size(); i += kStringChunk) {
                    if (i) out_ += QStringLiteral(" +");
                    out_ += (i == 0 && lead != u" " ? lead : newLine) +
                            QuoteString(QStringView(v.text).mid(i, kStringChunk));
                }
            }
            break;
        case TValueType::vaBinary: {
            out_ += lead + u'{';
            QByteArray hex = v.binary.toHex().toUpper();
            for (int i = 0; i < hex.size(); i += 2 * kBinaryLine)
                out_ += newLine + QString::fromLatin1(hex.mid(i, 2 * kBinaryLine));
            out_ += u'}';
            break;
        }
        case TValueType::vaList:
            out_ += lead + u'(';
            for (const TFormValue& item : v.items) Value(item, indent + 2, newLine);
            out_ += u')';
            break;
        case TValueType::vaCollection:
            out_ += lead + u'<';
            for (const QList<TFormProperty>& entry : v.entries) {
                out_ += newLine + QStringLiteral("item\n");
                for (const TFormProperty& p : entry) Property(p, indent + 2);
                out_ += QString(indent, u' ') + QStringLiteral("end");
            }
            out_ += u'>';
            break;
        default: out_ += lead + FormatScalarValue(v); break;
        }
    }

    QString out_;
};

}  // namespace

TFormObject ParseFormText(const QString& text)
{
    return Parser(text).ParseRoot();
}

TFormValue ParseFormValue(const QString& text)
{
    return Parser(text).ParseSingleValue();
}

QString FormatFormText(const TFormObject& root)
{
    Formatter f;
    f.Object(root, 0);
    return f.Take();
}

QString FormatScalarValue(const TFormValue& v)
{
    switch (v.type) {
    case TValueType::vaInteger: return QString::number(v.integer);
    case TValueType::vaFloat: return FormatFloat(v.real);
    case TValueType::vaString: return QuoteString(v.text);
    case TValueType::vaIdent: return v.text;
    case TValueType::vaSet: return u'[' + v.elements.join(QStringLiteral(", ")) + u']';
    case TValueType::vaBinary: return u'{' + QString::fromLatin1(v.binary.toHex().toUpper()) + u'}';
    default: return QString();
    }
}
