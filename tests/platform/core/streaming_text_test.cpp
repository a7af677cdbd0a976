#include "FormText.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString ReadError(const QString& text)
{
    try {
        ParseFormText(text);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return QString();
}

const TFormProperty& Prop(const TFormObject& o, const QString& name)
{
    for (const TFormProperty& p : o.properties)
        if (p.name == name) return p;
    static TFormProperty none;
    return none;
}

TEST(FormTextTest, ParsesEveryValueKind)
{
    TFormObject o =
        ParseFormText(QStringLiteral("object Form1: TForm1\n"
                                     "  Hex = $FF\n"
                                     "  Neg = -12\n"
                                     "  NegHex = -$10\n"
                                     "  Real = 1.5e3\n"
                                     "  Caption = 'It''s'#13#10'x' +\n"
                                     "    'yz'\n"
                                     "  Char = #$41#66\n"
                                     "  Align = alClient\n"
                                     "  Anchors = [akLeft, akTop]\n"
                                     "  Empty = []\n"
                                     "  Data = {\n"
                                     "    0aFF\n"
                                     "    10}\n"
                                     "  Heights = (\n"
                                     "    27\n"
                                     "    'a'\n"
                                     "    (1 2))\n"
                                     "  Items = <\n"
                                     "    item\n"
                                     "      Caption = 'one'\n"
                                     "    end\n"
                                     "    item\n"
                                     "    end>\n"
                                     "  Font.Height = -11\n"
                                     "  Link = Form2.Button1\n"
                                     "  object TUnnamed\n"
                                     "  end\n"
                                     "end\n"));
    EXPECT_EQ(o.name, "Form1");
    EXPECT_EQ(o.className, "TForm1");
    EXPECT_EQ(Prop(o, "Hex").value.integer, 255);
    EXPECT_EQ(Prop(o, "Neg").value.integer, -12);
    EXPECT_EQ(Prop(o, "NegHex").value.integer, -16);
    EXPECT_EQ(Prop(o, "Real").value.type, TValueType::vaFloat);
    EXPECT_DOUBLE_EQ(Prop(o, "Real").value.real, 1500.0);
    EXPECT_EQ(Prop(o, "Caption").value.text, QStringLiteral("It's\r\nxyz"));
    EXPECT_EQ(Prop(o, "Char").value.text, "AB");
    EXPECT_EQ(Prop(o, "Align").value.type, TValueType::vaIdent);
    EXPECT_EQ(Prop(o, "Anchors").value.elements, QStringList({"akLeft", "akTop"}));
    EXPECT_EQ(Prop(o, "Empty").value.type, TValueType::vaSet);
    EXPECT_TRUE(Prop(o, "Empty").value.elements.isEmpty());
    EXPECT_EQ(Prop(o, "Data").value.binary, QByteArray::fromHex("0aff10"));
    const TFormValue& list = Prop(o, "Heights").value;
    ASSERT_EQ(list.items.size(), 3);
    EXPECT_EQ(list.items[2].items.size(), 2);
    ASSERT_EQ(Prop(o, "Items").value.entries.size(), 2);
    EXPECT_EQ(Prop(o, "Items").value.entries[0][0].value.text, "one");
    EXPECT_EQ(Prop(o, "Font.Height").line, 25);
    EXPECT_EQ(Prop(o, "Link").value.text, "Form2.Button1");
    ASSERT_EQ(o.children.size(), 1);
    EXPECT_TRUE(o.children[0].name.isEmpty());
    EXPECT_EQ(o.children[0].className, "TUnnamed");
}

TEST(FormTextTest, FormatsAndReparsesToTheSameText)
{
    TFormObject o;
    o.name = "Form1";
    o.className = "TForm1";
    TFormValue list;
    list.type = TValueType::vaList;
    list.items = {TFormValue::Integer(27), TFormValue::String(QString(150, u'x')), TFormValue::Ident("True")};
    TFormValue coll;
    coll.type = TValueType::vaCollection;
    coll.entries = {{TFormProperty{"Caption", TFormValue::String("a'b"), 0}}, {}};
    TFormValue bin;
    bin.type = TValueType::vaBinary;
    bin.binary = QByteArray(70, '\x5a');
    o.properties = {{"Caption", TFormValue::String(QStringLiteral("tab\there \u00e9 ") + QString(100, u'y')), 0},
                    {"List", list, 0},
                    {"Items", coll, 0},
                    {"Data", bin, 0},
                    {"Real", TFormValue::Float(0.1), 0},
                    {"Whole", TFormValue::Float(2), 0},
                    {"Big", TFormValue::Integer(-9000000000LL), 0}};
    TFormObject child;
    child.kind = TFormObject::Inherited;
    child.name = "Button1";
    child.className = "TButton";
    o.children = {child};

    QString text = FormatFormText(o);
    TFormObject back = ParseFormText(text);
    EXPECT_EQ(FormatFormText(back), text);
    EXPECT_EQ(Prop(back, "Caption").value.text, Prop(o, "Caption").value.text);
    EXPECT_EQ(Prop(back, "List").value.items[1].text, QString(150, u'x'));
    EXPECT_EQ(Prop(back, "Items").value.entries[0][0].value.text, "a'b");
    EXPECT_EQ(Prop(back, "Data").value.binary, bin.binary);
    EXPECT_EQ(Prop(back, "Real").value.real, 0.1);
    EXPECT_EQ(Prop(back, "Whole").value.type, TValueType::vaFloat);
    EXPECT_EQ(Prop(back, "Big").value.integer, -9000000000LL);
    EXPECT_EQ(back.children[0].kind, TFormObject::Inherited);
    // Non-ASCII and control characters are written as character codes.
    EXPECT_TRUE(text.contains("'tab'#9'here '#233"));
    EXPECT_TRUE(text.startsWith("object Form1: TForm1\n  Caption =\n    'tab'#9"));
}

TEST(FormTextTest, SyntaxErrorsNameTheirLine)
{
    EXPECT_EQ(ReadError("object A: TA\n  X = 'open\nend\n"), "Line 2: Unterminated string");
    EXPECT_EQ(ReadError("object A: TA\n  X = 1\n"), "Line 3: Unexpected end of form resource");
    EXPECT_EQ(ReadError("object A: TA\n  X 1\nend"), "Line 2: '=' expected");
    EXPECT_EQ(ReadError("object A: TA\n  X = {0F1}\nend"), "Line 2: Invalid binary value");
    EXPECT_EQ(ReadError("object A: TA\n  X = {0G}\nend"), "Line 2: Invalid binary value");
    EXPECT_EQ(ReadError("object A: TA\n\n  X = 99999999999999999999\nend"), "Line 3: Invalid integer");
    EXPECT_EQ(ReadError("object A: TA\n  X = 12abc\nend"), "Line 2: Invalid number");
    EXPECT_EQ(ReadError("object A: TA\n  X = #1114112\nend"), "Line 2: Invalid character code");
    EXPECT_EQ(ReadError("object A: TA\n  X = 'a' +\nend"), "Line 3: String expected");
    EXPECT_EQ(ReadError("object A: TA\nend\nobject B: TB\nend"), "Line 3: End of form resource expected");
    EXPECT_EQ(ReadError("thing A: TA\nend"), "Line 1: 'object' expected");
    EXPECT_EQ(ReadError(""), "Line 1: 'object' expected");
    EXPECT_EQ(ReadError("object A: TA\n  X = <\n    foo\n  >\nend"), "Line 3: 'item' expected");
    EXPECT_EQ(ReadError("object A: TA\n  X = [a b]\nend"), "Line 2: ',' expected");
}

TEST(FormTextTest, DeepNestingIsAnErrorNotACrash)
{
    QString deep = "object A: TA\n  X = " + QString(100000, u'(') + "\nend\n";
    EXPECT_TRUE(ReadError(deep).contains("nested too deeply"));
    QString objects;
    for (int i = 0; i < 5000; ++i) objects += "object A: TA\n";
    EXPECT_TRUE(ReadError(objects).contains("nested too deeply"));
}

TEST(FormTextTest, SingleValuesForDefaults)
{
    EXPECT_EQ(ParseFormValue("[akLeft, akTop]").elements.size(), 2);
    EXPECT_EQ(ParseFormValue("-11").integer, -11);
    EXPECT_EQ(ParseFormValue("'Sans Serif'").text, "Sans Serif");
    EXPECT_THROW(ParseFormValue("1 2"), EReadError);
    EXPECT_EQ(FormatScalarValue(ParseFormValue("[a,b]")), "[a, b]");
}

}  // namespace

namespace {

qint64 ReadInteger(const QString& text)
{
    const TFormObject o = ParseFormText(QStringLiteral("object A: TA\n  V = %1\nend\n").arg(text));
    return Prop(o, QStringLiteral("V")).value.integer;
}

}  // namespace

TEST(FormTextTest, EveryWrittenIntegerReadsBackAndNoOtherOverflows)
{
    const qint64 min = std::numeric_limits<qint64>::min(), max = std::numeric_limits<qint64>::max();
    for (const qint64 v : {min, min + 1, qint64(-1), qint64(0), max}) {
        TFormObject o;
        o.name = QStringLiteral("A");
        o.className = QStringLiteral("TA");
        o.properties.append({QStringLiteral("V"), TFormValue::Integer(v), 0});
        EXPECT_EQ(Prop(ParseFormText(FormatFormText(o)), QStringLiteral("V")).value.integer, v) << v;
    }
    // Hex is a bit pattern; its negation exists for every pattern but the most negative one.
    EXPECT_EQ(ReadInteger(QStringLiteral("$8000000000000000")), min);
    EXPECT_EQ(ReadInteger(QStringLiteral("-$7FFFFFFFFFFFFFFF")), min + 1);
    EXPECT_EQ(ReadInteger(QStringLiteral("-$FFFFFFFFFFFFFFFF")), 1);
    EXPECT_EQ(ReadError(QStringLiteral("object A: TA\n  V = -$8000000000000000\nend\n")), "Line 2: Invalid integer");
    EXPECT_EQ(ReadError(QStringLiteral("object A: TA\n  V = -9223372036854775809\nend\n")), "Line 2: Invalid integer");
    EXPECT_EQ(ReadError(QStringLiteral("object A: TA\n  V = 9223372036854775808\nend\n")), "Line 2: Invalid integer");
    EXPECT_DOUBLE_EQ(
        Prop(ParseFormText(QStringLiteral("object A: TA\n  V = -0.25\nend\n")), QStringLiteral("V")).value.real, -0.25);
}
