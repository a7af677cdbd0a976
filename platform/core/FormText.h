#pragma once
// The text form of a form resource, as a tree: objects with their property values and
// nested objects. ParseFormText turns text into the tree (EReadError with a line number
// on any syntax fault); FormatFormText turns a tree back into text.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

enum class TValueType {
    vaNull,  // nothing (an exhausted list)
    vaInteger,
    vaFloat,
    vaString,
    vaIdent,       // identifiers: enum values, True/False, nil, references, handler names
    vaSet,         // [a, b]
    vaBinary,      // {hex}
    vaList,        // ( ... )
    vaCollection,  // < item ... end >
};

struct TFormProperty;

// One value. Only the members of its type are meaningful.
struct TFormValue {
    TValueType type = TValueType::vaNull;
    qint64 integer = 0;
    double real = 0;
    QString text;          // string, identifier
    QStringList elements;  // set elements
    QByteArray binary;
    QList<TFormValue> items;              // list elements
    QList<QList<TFormProperty>> entries;  // collection items, each its properties
    int line = 0;

    static TFormValue Integer(qint64 v);
    static TFormValue Float(double v);
    static TFormValue String(const QString& v);
    static TFormValue Ident(const QString& v);
};

struct TFormProperty {
    QString name;  // may be dotted: Font.Height
    TFormValue value;
    int line = 0;
};

struct TFormObject {
    enum Kind { Object, Inherited };
    Kind kind = Object;
    QString name;
    QString className;
    QList<TFormProperty> properties;
    QList<TFormObject> children;
    int line = 0;
};

// Parses a whole form resource: exactly one root object block.
TFormObject ParseFormText(const QString& text);
// Parses a single value ("[akLeft, akTop]", "-11", "clBtnFace"); used for property defaults.
TFormValue ParseFormValue(const QString& text);
QString FormatFormText(const TFormObject& root);
// The one-line text of a scalar or set value (for messages and defaults).
QString FormatScalarValue(const TFormValue& value);
