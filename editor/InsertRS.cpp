#include "InsertRS.h"

#include <QHash>

namespace InsertRS {
namespace {

QString TableTemplate()
{
    const QString cells = QStringLiteral("<TD>  </TD>\r\n<TD>  </TD>\r\n<TD>  </TD>\r\n<TD>  </TD>\r\n");
    return QStringLiteral("<TABLE Width=\"75%\">\r\n<TR>\r\n") + cells + QStringLiteral("</TR><TR>\r\n") + cells +
           QStringLiteral("</TR><TR>\r\n") + cells + QStringLiteral("</TR><TR>\r\n") + cells +
           QStringLiteral("</TR>\r\n</TABLE>");
}

QString NewDocument()
{
    return QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
        "<html>\r\n"
        "  <head>\r\n"
        "    <meta name=\"Author\" content=\"YOUR NAME\">\r\n"
        "    <meta name=\"Generator\" content=\"Zundras HTML Editor v1.00\">\r\n"
        "    <title>TITLE</title>\r\n"
        "  </head>\r\n"
        "  <body>\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "  </body>\r\n"
        "</html>");
}

// Items of the insert commands and their strings.
struct Insert {
    const char* item;
    int id;
    const char* text;  // nullptr: built above
};

constexpr Insert kInserts[] = {
    {"btHorRule", 65216, "<HR>"},
    {"btHeadTitle", 65232, "<TITLE>  </TITLE>"},
    {"btCSSLink", 65233, "<LINK Rel=\"STYLESHEET\" HREF=\"  \" Media=\"screen\" TYPE=\"text/css\">"},
    {"btStyleSheet", 65234, "<STYLE>\r\n\r\n</STYLE>"},
    {"btJavaScript", 65235, "<SCRIPT>\r\n\r\n</SCRIPT>"},
    {"btMetaDesc", 65236, "<META Name=\"description\" Content=\"  \">"},
    {"btMetaKey", 65237, "<META Name=\"keywords\" Content=\"  \">"},
    {"btMetaName", 65238, "<META Name=\"  \" Content=\"  \">"},
    {"btMetaRefresh", 65239, "<META http-equiv=\"refresh\" Content=\"  \">"},
    {"btMetaLink", 65240, "<META http-equiv=\"refresh\" Content=\"  ;URL=  \">"},
    {"btS_NBSpace", 65241, "&nbsp;"},
    {"btS_Copyright", 65242, "&copy;"},
    {"btS_Trademark", 65243, "&#153;"},
    {"btS_Registered", 65244, "&reg;"},
    {"btS_Pound", 65245, "&pound;"},
    {"btS_Euro", 65246, "&euro;"},
    {"btMiscComment", 65247, "<!--    -->"},
    {"btLink", 65248, "<a HREF=\" \">  </A>"},
    {"btEmailLink", 65249, "<A HREF=\"mailto:  \">  </A>"},
    {"btAnchor", 65250, "<A Name=\"  \"></A>"},
    {"btBaseTag", 65251, "<BASE HREF=\"  \">"},
    {"btImage", 65252, "<IMG Src=\"  \">"},
    {"btBGImage", 65253, "<BODY Background=\"  \" Bgcolor=\"White\">"},
    {"btTableTemp", 65254, nullptr},
    {"btTableRow", 65255, "<TR>\r\n\r\n</TR>"},
    {"btTableColumn", 65256, "<TD>  </TD>"},
    {"btFormTag", 65257, "<FORM Name=\"  \">\r\n\r\n</FORM>"},
    {"btFormTextField", 65258, "<INPUT Type=\"text\" Name=\"  \">"},
    {"btFormList", 65259,
     "<SELECT Name=\"select\">\r\n<OPTION Value=\"  \">  </OPTION>\r\n<OPTION Value=\"  \">  </OPTION>\r\n</SELECT>"},
    {"btFormCheck", 65260, "<INPUT Type=\"checkbox\" Name=\"  \" Value=\"  \">"},
    {"btFormRadio", 65261, "<INPUT Type=\"radio\" Name=\"  \" Value=\"  \">"},
    {"btFormButton", 65262, "<INPUT Type=\"submit\" Name=\"  \" Value=\"Button\">"},
    {"btFormHidden", 65263, "<INPUT Type=\"hidden\" Name=\"  \">"},
    {"btBold", 65267, "<B>  </B>"},
    {"btItalic", 65268, "<I>  </I>"},
    {"btUnderline", 65269, "<U>  </U>"},
    {"btLineBreak", 65270, "<BR>"},
    {"btParagraph", 65271, "<P>\r\n\r\n</P>"},
    {"btIndent", 65272, "<BLOCKQUOTE>  </BLOCKQUOTE>"},
    {"miFontTag", 65273, "<FONT face=\" \">  </FONT>"},
    {"btFontSize", 65274, "<FONT size=\" \">  </FONT>"},
    {"btFontColour", 65275, "<FONT color=\" \">  </FONT>"},
    {"btCenter", 65276, "<CENTER>  </CENTER>"},
    {"btLeft", 65277, "<DIV Align=\"left\">  </DIV>"},
    {"btRight", 65278, "<DIV Align=\"right\">  </DIV>"},
    {"btJustify", 65279, "<DIV Style=\"Text-align: justify\">  </DIV>"},
};

struct Table {
    QHash<int, QString> strings;
    QHash<QString, int> ids;
};

const Table& TheTable()
{
    static const Table table = [] {
        Table t;
        for (const Insert& i : kInserts) {
            t.strings.insert(i.id, i.text ? QString::fromLatin1(i.text) : TableTemplate());
            t.ids.insert(QString::fromLatin1(i.item), i.id);
        }
        t.strings.insert(sCustomDefault, QStringLiteral("Use Custom Edit To Add Your Own Text."));
        t.strings.insert(sNewDocument, NewDocument());
        return t;
    }();
    return table;
}

}  // namespace

QString LoadStr(int id)
{
    return TheTable().strings.value(id);
}

int InsertIdOf(const QString& itemName)
{
    return TheTable().ids.value(itemName);
}

}  // namespace InsertRS
