#pragma once
// Exceptions of the component library and the silent abort.
#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& Message() const { return message_; }
    void SetMessage(const QString& m)
    {
        message_ = m;
        utf8_ = m.toStdString();
    }
    const char* what() const noexcept override { return utf8_.c_str(); }
    // Class name as shown to the user, e.g. "EReadError".
    virtual const char* ClassName() const { return "Exception"; }

private:
    QString message_;
    std::string utf8_;
};

#define VESK_DECLARE_EXCEPTION(Name, Base)                       \
    class Name : public Base {                                   \
    public:                                                      \
        using Base::Base;                                        \
        const char* ClassName() const override { return #Name; } \
    };

// The silent abort: unwinds the current command; the application shows nothing.
VESK_DECLARE_EXCEPTION(EAbort, Exception)
VESK_DECLARE_EXCEPTION(EConvertError, Exception)
VESK_DECLARE_EXCEPTION(EListError, Exception)
VESK_DECLARE_EXCEPTION(EStringListError, Exception)
VESK_DECLARE_EXCEPTION(EComponentError, Exception)
VESK_DECLARE_EXCEPTION(EFilerError, Exception)
VESK_DECLARE_EXCEPTION(EReadError, EFilerError)
VESK_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
VESK_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VESK_DECLARE_EXCEPTION(EOutOfResources, Exception)
VESK_DECLARE_EXCEPTION(EInOutError, Exception)

// Raises the silent abort.
[[noreturn]] inline void Abort()
{
    throw EAbort(QStringLiteral("Operation aborted"));
}

// Upper-cases ASCII letters only, so every character keeps its position ("ß" stays).
inline QString UpperCaseAscii(QString s)
{
    for (QChar& c : s)
        if (c.unicode() >= 'a' && c.unicode() <= 'z') c = QChar(c.unicode() - 32);
    return s;
}
