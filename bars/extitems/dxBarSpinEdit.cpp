#include "dxBarSpinEdit.h"

#include "TypInfo.h"

#include <QLocale>
#include <QPointer>

#include <algorithm>
#include <cfloat>
#include <cmath>

// ---------------------------------------------------------------- numbers as text

QString FormatSpinNumber(double value, TdxBarSpinEditValueType type)
{
    if (!std::isfinite(value)) value = std::isnan(value) ? 0 : std::copysign(DBL_MAX, value);
    if (type == svtInteger) {
        const double whole = std::trunc(std::clamp(value, -dxBarSpinIntegerLimit, dxBarSpinIntegerLimit));
        return QString::number(qint64(whole));
    }
    // No "-0".
    QString text = QString::number(value == 0 ? 0.0 : value, 'g', 15);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String(".")) text.replace(QLatin1Char('.'), point);
    return text;
}

std::optional<double> ParseSpinNumber(const QString& text, TdxBarSpinEditValueType type)
{
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    if (type == svtInteger) {
        // C digits only: no group separator, no exponent, no fraction.
        const qint64 n = t.toLongLong(&ok, 10);
        return ok ? std::optional<double>(double(n)) : std::nullopt;
    }
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String(".")) {
        // A "." in such a locale is a group separator (or nothing of the locale's).
        if (t.contains(QLatin1Char('.'))) return std::nullopt;
        t.replace(point, QStringLiteral("."));
    }
    // Digits, sign, point and exponent only: no group separator of any locale, and none of
    // "inf", "nan" or hexadecimal.
    const bool plain = std::all_of(t.cbegin(), t.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-') ||
               c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E');
    });
    if (!plain) return std::nullopt;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// ---------------------------------------------------------------- TdxBarSpinEdit

TdxBarSpinEdit::TdxBarSpinEdit(TComponent* owner) : TdxBarEdit(owner)
{
    static const bool registered = [] {
        RegisterEventType<TdxBarSpinEditButtonClickEvent>();
        return true;
    }();
    (void)registered;
    StoreText(QStringLiteral("0"));
}

double TdxBarSpinEdit::Normalize(double value) const
{
    if (std::isnan(value)) return 0;
    if (valueType_ == svtInteger)
        value = std::trunc(std::clamp(value, -dxBarSpinIntegerLimit, dxBarSpinIntegerLimit));
    else
        value = std::clamp(value, -DBL_MAX, DBL_MAX);
    return value == 0 ? 0.0 : value;
}

double TdxBarSpinEdit::CheckValue(double value) const
{
    value = Normalize(value);
    // MinValue = MaxValue = 0 is no range.
    if (minValue_ != maxValue_ || minValue_ != 0) value = std::clamp(value, minValue_, maxValue_);
    return value;
}

QString TdxBarSpinEdit::WithoutPrefix(const QString& text) const
{
    if (prefix_.isEmpty()) return text;
    if (prefixPlace_ == ppEnd) return text.endsWith(prefix_) ? text.chopped(prefix_.size()) : text;
    return text.startsWith(prefix_) ? text.mid(prefix_.size()) : text;
}

double TdxBarSpinEdit::TextToValue(const QString& text) const
{
    return ParseSpinNumber(WithoutPrefix(text), valueType_).value_or(minValue_);
}

QString TdxBarSpinEdit::ValueToText(double value) const
{
    const QString number = FormatSpinNumber(value, valueType_);
    return prefixPlace_ == ppEnd ? number + prefix_ : prefix_ + number;
}

double TdxBarSpinEdit::Value() const
{
    return TextToValue(Text());
}

void TdxBarSpinEdit::SetValue(double value)
{
    const double checked = CheckValue(value);
    if (checked != Value()) TdxBarEdit::SetText(ValueToText(checked));
}

void TdxBarSpinEdit::SetText(const QString& value)
{
    const std::optional<double> number = ParseSpinNumber(WithoutPrefix(value), valueType_);
    if (!number) return;
    TdxBarEdit::SetText(ValueToText(CheckValue(*number)));
}

double TdxBarSpinEdit::CurValue() const
{
    return TextToValue(CurText());
}

void TdxBarSpinEdit::SetCurValue(double value)
{
    const double checked = CheckValue(value);
    if (checked != CurValue()) SetCurText(ValueToText(checked));
}

void TdxBarSpinEdit::SetIncrement(double value)
{
    value = Normalize(value);
    if (valueType_ == svtInteger ? value < 1 : value <= 0) value = 1;
    increment_ = value;
}

void TdxBarSpinEdit::SetMinValue(double value)
{
    value = Normalize(value);
    if (value == minValue_) return;
    minValue_ = value;
    if (maxValue_ < value) maxValue_ = value;
    RecheckValues();
}

void TdxBarSpinEdit::SetMaxValue(double value)
{
    value = Normalize(value);
    if (value == maxValue_) return;
    maxValue_ = value;
    if (minValue_ > value) minValue_ = value;
    RecheckValues();
}

void TdxBarSpinEdit::RecheckValues()
{
    QPointer<TdxBarSpinEdit> self(this);
    SetValue(Value());
    if (self) SetCurValue(CurValue());
}

void TdxBarSpinEdit::SetPrefix(const QString& value)
{
    if (value == prefix_) return;
    const double current = Value();
    prefix_ = value;
    TdxBarEdit::SetText(ValueToText(current));
}

void TdxBarSpinEdit::SetPrefixPlace(TdxBarSpinEditPrefixPlace value)
{
    if (value == prefixPlace_) return;
    const double current = Value();
    prefixPlace_ = value;
    TdxBarEdit::SetText(ValueToText(current));
}

void TdxBarSpinEdit::SetValueType(TdxBarSpinEditValueType value)
{
    if (value == valueType_) return;
    const double current = Value();
    const double typed = CurValue();
    valueType_ = value;
    if (value == svtFloat) return;
    QPointer<TdxBarSpinEdit> self(this);
    SetIncrement(increment_);
    SetMinValue(minValue_);
    if (self) SetMaxValue(maxValue_);
    if (self) SetValue(current);
    if (self) SetCurValue(typed);
}

void TdxBarSpinEdit::ButtonClick(TdxBarSpinEditButton button)
{
    if (button != sbUp && button != sbDown) return;
    QPointer<TdxBarSpinEdit> self(this);
    SetCurValue(CurValue() + (button == sbUp ? increment_ : -increment_));
    if (self && OnButtonClick) OnButtonClick(this, int(button));
}

bool TdxBarSpinEdit::AcceptsChar(QChar ch) const
{
    if ((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch == QChar(8)) return true;
    if (ch == QLatin1Char('-')) return minValue_ < 0;
    return valueType_ == svtFloat && QString(ch) == QLocale().decimalPoint();
}
