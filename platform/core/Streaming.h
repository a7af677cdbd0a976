#pragma once
// Reading and writing components in the text form-resource format:
//   object Form1: TForm1
//     Caption = 'Main'
//     Font.Height = -11
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
// TReader builds components from such text, TWriter writes components as such text.
// Classes stream extra values through DefineProperties(TFiler*).
#include "Classes.h"
#include "FormText.h"

#include <QByteArray>
#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QString>
#include <functional>

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamReadProc = std::function<void(const QByteArray&)>;
using TStreamWriteProc = std::function<void(QByteArray&)>;

class TFiler {
public:
    virtual ~TFiler() = default;
    TComponent* Root() const { return root_; }
    // A value streamed under name: readProc reads it through the TReader, writeProc writes
    // it through the TWriter when hasData says there is something to write.
    virtual void DefineProperty(const QString& name, const TReaderProc& readProc, const TWriterProc& writeProc,
                                bool hasData) = 0;
    // The same for raw bytes, streamed as {hex}.
    virtual void DefineBinaryProperty(const QString& name, const TStreamReadProc& readProc,
                                      const TStreamWriteProc& writeProc, bool hasData) = 0;

protected:
    TComponent* root_ = nullptr;
};

// Components whose reading has finished, in read order; Loaded() runs on each once every
// level of the root has been read.
class TLoadedList {
public:
    bool Contains(const TComponent* c) const;
    void Add(TComponent* c);
    // Calls Loaded on each live component; an exception from one does not keep the others
    // loading: the first is raised again after all have run.
    void NotifyLoaded();
    // After a failed read: clears the loading state without calling Loaded.
    void Abandon();

private:
    QList<QPointer<TComponent>> items_;
};

class TReader : public TFiler {
public:
    explicit TReader(QString text);
    ~TReader() override;

    // Events are skipped rather than bound (re-reading a stored form to reset it).
    void SetIgnoreEvents(bool value) { ignoreEvents_ = value; }
    bool IgnoreEvents() const { return ignoreEvents_; }

    // Reads one level into root (nullptr: creates the root from the class registry with no
    // owner). References are fixed up at its end. With loaded given, Loaded() is left to the
    // caller (several levels); otherwise it runs here. On an error, the components this
    // read created are freed again and the error is raised.
    TComponent* ReadRootComponent(TComponent* root, TLoadedList* loaded = nullptr);
    // The properties and nested components of the block being read (TComponent::ReadState).
    void ReadData(TComponent* instance);

    // The component that owns what is read (the root), and the enclosing component of the
    // one being read (nullptr for the root).
    TComponent* Owner() const { return root_; }
    TComponent* Parent() const { return parent_; }
    // The name of the defined property being asked for during DefineProperties.
    const QString& PropName() const { return propName_; }

    void DefineProperty(const QString& name, const TReaderProc& readProc, const TWriterProc& writeProc,
                        bool hasData) override;
    void DefineBinaryProperty(const QString& name, const TStreamReadProc& readProc, const TStreamWriteProc& writeProc,
                              bool hasData) override;

    // Reading a defined property's value (EReadError "Invalid property value" on a value of
    // another kind, "Unexpected end of list" past a list's end).
    TValueType NextValue() const;
    bool EndOfList() const;
    void ReadListBegin();
    void ReadListEnd();
    int ReadInteger();
    qint64 ReadInt64();
    double ReadFloat();
    QString ReadString();
    QString ReadIdent();
    bool ReadBoolean();
    QByteArray ReadBinary();

private:
    struct Fixup {
        QPointer<QObject> instance;
        QMetaProperty prop;
        QString name;
    };
    struct Cursor {
        const QList<TFormValue>* values;
        int index;
    };

    TComponent* ReadComponent(const TFormObject& node);
    TComponent* CreateComponent(const TFormObject& node);
    void SetRootField(TComponent* component, TComponent* value);
    void ReadProperties(QObject* instance, const QList<TFormProperty>& props);
    void ReadProperty(QObject* instance, const TFormProperty& prop);
    void ReadPropValue(QObject* instance, const QMetaProperty& prop, const TFormValue& value);
    bool ReadDefinedProperty(QObject* instance, const QString& name, const TFormValue& value);
    void ReadEvent(QObject* instance, const QMetaProperty& prop, const TFormValue& value);
    void ReadReference(QObject* instance, const QMetaProperty& prop, const TFormValue& value);
    void ReadCollection(QObject* instance, const QMetaProperty& prop, const TFormValue& value);
    void ReadStrings(QObject* instance, const QMetaProperty& prop, const TFormValue& value);
    void FixupReferences();
    TComponent* FindReferenced(const QString& name) const;
    const TFormValue& TakeValue();
    void FreeCreated();

    QString text_;
    const TFormObject* node_ = nullptr;
    TComponent* parent_ = nullptr;
    bool ignoreEvents_ = false;
    TLoadedList* loaded_ = nullptr;
    QList<QPointer<TComponent>> created_;
    QList<Fixup> fixups_;
    // Defined-property reading: the name asked for, whether some DefineProperty took it,
    // and the value cursor stack its callback reads from.
    QString propName_;
    const TFormValue* definedValue_ = nullptr;
    bool propHandled_ = false;
    QList<TFormValue> single_;
    QList<Cursor> cursors_;
};

class TWriter : public TFiler {
public:
    TWriter() = default;

    // Writes root and its children (GetChildren) and returns the text.
    QString WriteRootComponent(TComponent* root);
    // Writes one component block inside the one being written.
    void WriteComponent(TComponent* component);
    // The properties and children of the block being written (TComponent::WriteState).
    void WriteData(TComponent* instance);
    const QString& Text() const { return text_; }

    void DefineProperty(const QString& name, const TReaderProc& readProc, const TWriterProc& writeProc,
                        bool hasData) override;
    void DefineBinaryProperty(const QString& name, const TStreamReadProc& readProc, const TStreamWriteProc& writeProc,
                              bool hasData) override;

    // Writing a defined property's value.
    void WriteListBegin();
    void WriteListEnd();
    void WriteInteger(qint64 value);
    void WriteFloat(double value);
    void WriteString(const QString& value);
    void WriteIdent(const QString& value);
    void WriteBoolean(bool value);
    void WriteBinary(const QByteArray& value);

private:
    void WriteProperties(QObject* instance, const QString& prefix, QList<TFormProperty>& out, int depth);
    bool WritePropValue(QObject* instance, const QMetaProperty& prop, TFormValue& value);
    bool IsDefaultValue(QObject* instance, const QMetaProperty& prop, const QVariant& current) const;
    void WriteCollection(QObject* collection, TFormValue& value, int depth);
    QString ReferenceName(TComponent* component) const;
    void AddValue(TFormValue value);

    QString text_;
    TFormObject* current_ = nullptr;
    // Defined properties of the instance being written land here, named with the prefix.
    QList<TFormProperty>* definedOut_ = nullptr;
    QString definedPrefix_;
    // Values written by a defined property's callback; nested lists on the stack.
    QList<TFormValue> valueStack_;
};
