#pragma once
// TdxBarSpinEdit: an edit item for a number, with an up and a down button at the right end of
// its text box (TdxBarSpinEditControl shows it).
//
// Every value that reaches the item passes CheckValue: integers are truncated toward zero and
// kept within +-2^53 (where every integer is exact), and a range clamps them when it is active
// (MinValue and MaxValue not both 0). The text is the number written by FormatSpinNumber, with
// the prefix at its place; Value reads it back, and text that does not parse gives MinValue.
//
// Numbers never go through the locale's number formatting: integers are plain digits, floats
// 15 significant digits with the locale's decimal point, and text with a group separator is no
// number.
#include "dxBarItems.h"

#include <QObject>
#include <QString>
#include <optional>

namespace dxBarSpinEditTypes {
Q_NAMESPACE

enum TdxBarSpinEditValueType { svtInteger, svtFloat };
Q_ENUM_NS(TdxBarSpinEditValueType)

enum TdxBarSpinEditPrefixPlace { ppStart, ppEnd };
Q_ENUM_NS(TdxBarSpinEditPrefixPlace)

}  // namespace dxBarSpinEditTypes

using namespace dxBarSpinEditTypes;

// The buttons of a spin edit as its OnButtonClick names them (sbNone: no button pressed).
enum TdxBarSpinEditButton : int { sbNone = 0, sbUp = 1, sbDown = 2 };

// (sender, button): 1 up, 2 down.
using TdxBarSpinEditButtonClickEvent = TEvent<TObject*, int>;
Q_DECLARE_METATYPE(TdxBarSpinEditButtonClickEvent)

// The largest integer a spin edit holds: 2^53.
constexpr double dxBarSpinIntegerLimit = 9007199254740992.0;

// The text of a number: an integer as plain digits, a float with 15 significant digits and
// the default locale's decimal point.
QString FormatSpinNumber(double value, TdxBarSpinEditValueType type);
// The number a text holds (surrounding blanks allowed), or none: an integer is an optional
// sign and digits within 64 bits; a float uses the locale's decimal point and no group
// separator, and is finite.
std::optional<double> ParseSpinNumber(const QString& text, TdxBarSpinEditValueType type);

class TdxBarSpinEdit : public TdxBarEdit {
    Q_OBJECT
    // The type first: a form's values are read after it, so a stored float stays one.
    Q_PROPERTY(dxBarSpinEditTypes::TdxBarSpinEditValueType ValueType READ ValueType WRITE SetValueType)
    Q_PROPERTY(double Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(QString Prefix READ Prefix WRITE SetPrefix)
    Q_PROPERTY(dxBarSpinEditTypes::TdxBarSpinEditPrefixPlace PrefixPlace READ PrefixPlace WRITE SetPrefixPlace)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(TdxBarSpinEditButtonClickEvent OnButtonClick MEMBER OnButtonClick)
    Q_CLASSINFO("Default.ValueType", "svtInteger")
    Q_CLASSINFO("Default.Increment", "1")
    Q_CLASSINFO("Default.PrefixPlace", "ppEnd")
    // The text follows from Value.
    Q_CLASSINFO("Stored.Text", "False")
public:
    Q_INVOKABLE explicit TdxBarSpinEdit(TComponent* owner);

    TdxBarSpinEditValueType ValueType() const { return valueType_; }
    // Back to integers, the increment, the range, Value and the typed value are truncated.
    void SetValueType(TdxBarSpinEditValueType value);
    double Increment() const { return increment_; }
    // Integers: below 1 becomes 1; floats: not above 0 becomes 1.
    void SetIncrement(double value);
    double MinValue() const { return minValue_; }
    // Drags MaxValue up with it; Value and the typed value are clamped.
    void SetMinValue(double value);
    double MaxValue() const { return maxValue_; }
    // Drags MinValue down with it; Value and the typed value are clamped.
    void SetMaxValue(double value);
    const QString& Prefix() const { return prefix_; }
    void SetPrefix(const QString& value);
    TdxBarSpinEditPrefixPlace PrefixPlace() const { return prefixPlace_; }
    void SetPrefixPlace(TdxBarSpinEditPrefixPlace value);

    // The number in Text (MinValue when Text holds none).
    double Value() const;
    void SetValue(double value);
    // Text that holds no number of the type is ignored; a number is checked and rewritten.
    void SetText(const QString& value) override;

    // The value typed into the active link's editor (Value without one).
    double CurValue() const;
    // Writes the checked value into the active link's editor (Text without one).
    void SetCurValue(double value);

    // --- the value rules
    // Integers truncated toward zero within +-2^53; floats as they are.
    double Normalize(double value) const;
    // Normalised, and clamped into the range when there is one.
    double CheckValue(double value) const;
    // The number after the prefix is taken off its place; MinValue when there is none.
    double TextToValue(const QString& text) const;
    QString ValueToText(double value) const;

    // Steps the typed value by Increment (up or down), then OnButtonClick.
    void ButtonClick(TdxBarSpinEditButton button);
    // What a key typed into the editor may add: digits, "-" with a negative MinValue, and the
    // locale's decimal point for floats.
    bool AcceptsChar(QChar ch) const;

    TdxBarSpinEditButtonClickEvent OnButtonClick;

private:
    // The text without the prefix at its place (the text itself when it is not there).
    QString WithoutPrefix(const QString& text) const;
    // Value and the typed value clamped after a change of the range.
    void RecheckValues();

    TdxBarSpinEditValueType valueType_ = svtInteger;
    double increment_ = 1;
    double minValue_ = 0;
    double maxValue_ = 0;
    QString prefix_;
    TdxBarSpinEditPrefixPlace prefixPlace_ = ppEnd;
};
