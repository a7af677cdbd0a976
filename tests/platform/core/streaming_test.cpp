#include "ClassRegistry.h"
#include "Collections.h"
#include "FormResources.h"
#include "Graphics.h"
#include "Streaming.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

namespace {

QStringList gLog;

class TStSub : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(int Height MEMBER height)
    Q_PROPERTY(QString Name MEMBER name)
    Q_CLASSINFO("Default.Height", "-11")
public:
    int height = -11;
    QString name;
};

class TStWidget : public TComponent {
    Q_OBJECT
public:
    enum TAlign { alNone, alTop, alClient };
    Q_ENUM(TAlign)
    enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
    Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
    Q_FLAG(TAnchors)

private:
    Q_PROPERTY(int Left MEMBER left)
    Q_PROPERTY(int Height MEMBER height)
    Q_PROPERTY(uint Mask MEMBER mask)
    Q_PROPERTY(qint64 Big MEMBER big)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(bool Enabled MEMBER enabled)
    Q_PROPERTY(TAlign Align MEMBER align)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(QByteArray Data MEMBER data)
    Q_PROPERTY(TColor Color MEMBER color)
    Q_PROPERTY(TStSub* Sub READ Sub)
    Q_PROPERTY(TFont* Font READ Font)
    Q_PROPERTY(TBitmap* Glyph READ Glyph)
    Q_PROPERTY(TStrings* Lines READ Lines)
    Q_PROPERTY(TCollection* Items READ Items)
    Q_PROPERTY(TStWidget* Buddy MEMBER buddy)
    Q_PROPERTY(TNotifyEvent OnClick MEMBER onClick)
    Q_PROPERTY(int Secret MEMBER secret)
    Q_CLASSINFO("Default.Height", "10")
    Q_CLASSINFO("Default.Mask", "0")
    Q_CLASSINFO("Default.Big", "0")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Align", "alNone")
    Q_CLASSINFO("Default.Anchors", "[akLeft, akTop]")
    Q_CLASSINFO("Default.Color", "clBtnFace")
    Q_CLASSINFO("Stored.Secret", "IsSecretStored")

public:
    explicit TStWidget(TComponent* owner);
    TAnchors Anchors() const { return anchors; }
    void SetAnchors(TAnchors value) { anchors = value; }
    TStSub* Sub() { return &sub_; }
    TFont* Font() { return &font_; }
    TBitmap* Glyph() { return &glyph_; }
    TStrings* Lines() { return &lines_; }
    TCollection* Items() { return &items_; }

    void SetParentComponent(TComponent* value) override { parentWidget = qobject_cast<TStWidget*>(value); }
    TComponent* GetParentComponent() const override { return parentWidget; }
    bool HasParent() const override { return parentWidget; }
    void GetChildren(const TGetChildProc& proc, TComponent* root) override
    {
        for (int i = 0; i < root->ComponentCount(); ++i)
            if (root->Components(i)->GetParentComponent() == this) proc(root->Components(i));
    }
    void ReadState(TReader* reader) override
    {
        ++readStates;
        gLog << QStringLiteral("read %1 parent=%2 loading=%3")
                    .arg(Name(), reader->Parent() ? reader->Parent()->Name() : "-")
                    .arg((ComponentState() & (csLoading | csReading)) == (csLoading | csReading));
        TComponent::ReadState(reader);
    }
    void Loaded() override
    {
        gLog << "loaded " + Name();
        TComponent::Loaded();
    }
    void DefineProperties(TFiler* filer) override
    {
        filer->DefineProperty(
            "Heights",
            [this](TReader* r) {
                heights.clear();
                r->ReadListBegin();
                while (!r->EndOfList()) heights.append(r->ReadInteger());
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (int h : heights) w->WriteInteger(h);
                w->WriteListEnd();
            },
            !heights.isEmpty());
        filer->DefineBinaryProperty(
            "Blob", [this](const QByteArray& b) { blob = b; }, [this](QByteArray& b) { b = blob; }, !blob.isEmpty());
    }
    Q_INVOKABLE bool IsSecretStored() const { return secret != 42; }

    int left = 0, height = 10, secret = 0;
    uint mask = 0;
    qint64 big = 0;
    double ratio = 0;
    QString caption;
    bool enabled = true;
    TAlign align = alNone;
    TAnchors anchors = TAnchors(akLeft | akTop);
    QByteArray data;
    TColor color = clBtnFace;
    TStWidget* buddy = nullptr;
    TNotifyEvent onClick;
    QList<int> heights;
    QByteArray blob;
    TStWidget* parentWidget = nullptr;
    int readStates = 0;

private:
    TStSub sub_;
    TFont font_;
    TBitmap glyph_;
    TStringList lines_;
    TCollection items_;
};

class TStItem : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(int Value MEMBER value)
    Q_PROPERTY(TStWidget* Target MEMBER target)
    Q_CLASSINFO("Default.Value", "0")
public:
    using TCollectionItem::TCollectionItem;
    QString caption;
    int value = 0;
    TStWidget* target = nullptr;
};

TStWidget::TStWidget(TComponent* owner) : TComponent(owner), items_(ItemClass<TStItem>(), this) {}

class TStForm : public TStWidget {
    Q_OBJECT
    Q_PROPERTY(TStWidget* Button1 MEMBER Button1 STORED false)
public:
    using TStWidget::TStWidget;
    Q_INVOKABLE void ButtonClick(TObject* sender) { clickedBy = sender; }
    TStWidget* Button1 = nullptr;
    TObject* clickedBy = nullptr;
};

class TStDerivedForm : public TStForm {
    Q_OBJECT
public:
    using TStForm::TStForm;
};

// Another component class, for references of the wrong class.
class TStOther : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
};

TStItem* ItemOf(TStWidget* w, int i)
{
    return w->Items()->ItemAs<TStItem>(i);
}

class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterClasses<TStWidget, TStForm, TStDerivedForm, TStOther>();
        gLog.clear();
    }
    static std::unique_ptr<TStForm> NewForm() { return std::unique_ptr<TStForm>(Create<TStForm>(nullptr)); }
    static QString ErrorOf(const QString& text, TStForm* form, bool ignoreEvents = false)
    {
        try {
            ReadComponentFromText(text, form, ignoreEvents);
        } catch (const Exception& e) {
            return QString::fromLatin1(e.ClassName()) + ": " + e.Message();
        }
        return QString();
    }
};

// A form with a value of every kind, a child with an event, and a grandchild.
std::unique_ptr<TStForm> FullForm()
{
    auto f = std::unique_ptr<TStForm>(Create<TStForm>(nullptr));
    f->SetName("Form1");
    f->left = -5;
    f->height = 20;
    f->mask = 4000000000u;
    f->big = -9000000000000LL;
    f->ratio = 0.25;
    f->caption = QStringLiteral("It's\r\n") + QString(80, u'z');
    f->enabled = false;
    f->align = TStWidget::alClient;
    f->anchors = TStWidget::TAnchors(TStWidget::akRight | TStWidget::akBottom);
    f->data = QByteArray("\x00\x01\xfe", 3);
    f->color = clRed;
    f->Sub()->height = -13;
    f->Sub()->name = "Arial";
    f->Font()->SetStyle(fsBold | fsItalic);
    f->Font()->SetColor(clRed);
    f->Glyph()->SetSize(2, 1);
    f->Lines()->Add("a");
    f->Lines()->Add("b'c");
    f->secret = 7;
    f->heights = {27, 0, 19, 22};
    f->blob = "blob";
    auto* button = Create<TStWidget>(f.get());
    button->SetName("Button1");
    button->SetParentComponent(f.get());
    button->onClick = TNotifyEvent::ByName(f.get(), "ButtonClick");
    button->color = MakeColor(0x123456);
    button->anchors = {};
    auto* label = Create<TStWidget>(f.get());
    label->SetName("Label1");
    label->SetParentComponent(button);
    label->buddy = f.get();
    f->buddy = button;
    auto* item = static_cast<TStItem*>(f->Items()->Add());
    item->caption = "first";
    item->value = 3;
    item->target = label;
    f->Items()->Add();
    return f;
}

TEST_F(StreamingTest, EveryValueKindRoundTrips)
{
    auto f = FullForm();
    QString text = WriteComponentToText(f.get());
    for (const char* line :
         {"  Mask = 4000000000\n", "  Color = clRed\n", "  Anchors = [akRight, akBottom]\n", "  Sub.Height = -13\n",
          "  Font.Color = clRed\n", "  Font.Style = [fsBold, fsItalic]\n", "  Glyph.Data = {\n", "  Buddy = Button1\n",
          "    OnClick = ButtonClick\n", "    Color = 1193046\n", "    Anchors = []\n", "      Buddy = Form1\n",
          "  Heights = (\n    27\n    0\n    19\n    22)\n", "  Blob = {\n    626C6F62}\n",
          "  Lines = (\n    'a'\n    'b''c')\n", "      Target = Label1\n"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << "\n" << text.toStdString();

    auto g = NewForm();
    ReadComponentFromText(text, g.get());
    EXPECT_EQ(WriteComponentToText(g.get()), text);
    EXPECT_EQ(g->Name(), "Form1");
    EXPECT_EQ(g->caption, f->caption);
    EXPECT_EQ(g->big, f->big);
    EXPECT_EQ(g->mask, f->mask);
    EXPECT_EQ(g->ratio, 0.25);
    EXPECT_EQ(g->data, f->data);
    EXPECT_EQ(g->anchors, f->anchors);
    EXPECT_EQ(g->align, TStWidget::alClient);
    EXPECT_FALSE(g->enabled);
    EXPECT_EQ(g->Sub()->name, "Arial");
    EXPECT_EQ(g->Font()->Style(), fsBold | fsItalic);
    EXPECT_EQ(g->Glyph()->Width(), 2);
    EXPECT_EQ(g->Lines()->ToStringList(), QStringList({"a", "b'c"}));
    EXPECT_EQ(g->heights, f->heights);
    EXPECT_EQ(g->blob, "blob");
    EXPECT_EQ(g->secret, 7);
    ASSERT_EQ(g->Items()->Count(), 2);
    EXPECT_EQ(ItemOf(g.get(), 0)->caption, "first");
    EXPECT_EQ(ItemOf(g.get(), 0)->value, 3);

    // References and the handler point into the new form, not the one written.
    auto* button = qobject_cast<TStWidget*>(g->FindComponent("Button1"));
    auto* label = qobject_cast<TStWidget*>(g->FindComponent("Label1"));
    ASSERT_TRUE(button && label);
    EXPECT_EQ(g->Button1, button);
    EXPECT_EQ(g->buddy, button);
    EXPECT_EQ(ItemOf(g.get(), 0)->target, label);
    EXPECT_EQ(label->buddy, g.get());
    EXPECT_EQ(label->parentWidget, button);
    EXPECT_EQ(label->Owner(), g.get());
    EXPECT_EQ(button->color, MakeColor(0x123456));
    button->onClick(button);
    EXPECT_EQ(g->clickedBy, button);
    EXPECT_EQ(f->clickedBy, nullptr);

    // A string list's lines may also be named as its "Strings".
    ReadComponentFromText("inherited Form1: TStForm\n  Lines.Strings = (\n    'x')\nend\n", g.get());
    EXPECT_EQ(g->Lines()->ToStringList(), QStringList({"x"}));
}

TEST_F(StreamingTest, DefaultsAndStoredRulesKeepValuesOut)
{
    TStWidget w(nullptr);
    w.SetName("W");
    // Ordinal values without a declared default are always written; Name is the header.
    EXPECT_EQ(WriteComponentToText(&w), "object W: TStWidget\n  Left = 0\n  Secret = 0\nend\n");
    w.secret = 42;  // its stored rule says no
    w.anchors = {};
    w.height = 11;
    w.SetTag(5);
    EXPECT_EQ(WriteComponentToText(&w),
              "object W: TStWidget\n  Tag = 5\n  Left = 0\n  Height = 11\n  Anchors = []\nend\n");
}

TEST_F(StreamingTest, ReferencesResolveAfterTheWholeRoot)
{
    auto f = NewForm();
    ReadComponentFromText(
        "object Form1: TStForm\n"
        "  Buddy = button1\n"  // forward, and names ignore case
        "  object Button1: TStWidget\n"
        "    Buddy = Nobody\n"
        "  end\n"
        "  object Label1: TStWidget\n"
        "    Buddy = Form1.Button1\n"
        "  end\n"
        "  object Self1: TStWidget\n"
        "    Buddy = Form1\n"
        "  end\n"
        "  object Other1: TStOther\n"
        "  end\n"
        "  object Wrong: TStWidget\n"
        "    Buddy = Other1\n"
        "  end\n"
        "  object Far: TStWidget\n"
        "    Buddy = Form9.Button1\n"
        "  end\n"
        "end\n",
        f.get());
    auto w = [&](const char* n) { return qobject_cast<TStWidget*>(f->FindComponent(n)); };
    EXPECT_EQ(f->buddy, w("Button1"));
    EXPECT_EQ(w("Button1")->buddy, nullptr);
    EXPECT_EQ(w("Label1")->buddy, w("Button1"));
    EXPECT_EQ(w("Self1")->buddy, f.get());
    EXPECT_EQ(w("Wrong")->buddy, nullptr);
    EXPECT_EQ(w("Far")->buddy, nullptr);

    // nil clears a reference set before.
    ReadComponentFromText("inherited Form1: TStForm\n  Buddy = nil\nend\n", f.get());
    EXPECT_EQ(f->buddy, nullptr);
}

TEST_F(StreamingTest, EventsBindByHandlerNameOrAreSkipped)
{
    const QString text = "object Form1: TStForm\n  object Button1: TStWidget\n    OnClick = Missing\n  end\nend\n";
    auto f = NewForm();
    EXPECT_EQ(ErrorOf(text, f.get()), "EReadError: Line 3: Error reading Button1.OnClick: Method Missing not found");
    EXPECT_EQ(f->ComponentCount(), 0);
    EXPECT_EQ(f->Button1, nullptr);

    EXPECT_EQ(ErrorOf(text, f.get(), true), "");
    ASSERT_NE(f->Button1, nullptr);
    EXPECT_FALSE(f->Button1->onClick);

    // Only handlers bound by name on the root can be written.
    f->Button1->onClick = TNotifyEvent(f.get(), &TStForm::ButtonClick);
    EXPECT_FALSE(WriteComponentToText(f.get()).contains("OnClick"));
    auto other = NewForm();
    f->Button1->onClick = TNotifyEvent::ByName(other.get(), "ButtonClick");
    EXPECT_FALSE(WriteComponentToText(f.get()).contains("OnClick"));
}

TEST_F(StreamingTest, ComponentsLoadAfterTheWholeRootInReadOrder)
{
    auto f = NewForm();
    ReadComponentFromText(
        "object Form1: TStForm\n"
        "  object Button1: TStWidget\n"
        "    object Label1: TStWidget\n"
        "    end\n"
        "  end\n"
        "  object Button2: TStWidget\n"
        "  end\n"
        "end\n",
        f.get());
    EXPECT_EQ(gLog, QStringList({"read Form1 parent=- loading=1", "read Button1 parent=Form1 loading=1",
                                 "read Label1 parent=Button1 loading=1", "read Button2 parent=Form1 loading=1",
                                 "loaded Form1", "loaded Button1", "loaded Label1", "loaded Button2"}));
    for (int i = 0; i < f->ComponentCount(); ++i)
        EXPECT_EQ(f->Components(i)->ComponentState() & (csLoading | csReading), 0u);
    EXPECT_EQ(f->ComponentState() & (csLoading | csReading), 0u);
    EXPECT_EQ(f->Button1, f->FindComponent("Button1"));
    EXPECT_EQ(qobject_cast<TStWidget*>(f->FindComponent("Label1"))->parentWidget, f->Button1);
}

TEST_F(StreamingTest, InheritedLevelsReadMostBaseFirst)
{
    RegisterFormResource("TStForm",
                         "object Form1: TStForm\n  Caption = 'Base'\n  Left = 1\n"
                         "  object Button1: TStWidget\n    Caption = 'B'\n    Buddy = Extra\n  end\nend\n");
    RegisterFormResource("TStDerivedForm",
                         "inherited Form1: TStDerivedForm\n  Caption = 'Derived'\n"
                         "  inherited Button1: TStWidget\n    Left = 5\n  end\n"
                         "  object Extra: TStWidget\n  end\nend\n");
    TStDerivedForm f(nullptr);
    EXPECT_TRUE(InitInheritedComponent(&f, &TStWidget::staticMetaObject));
    EXPECT_EQ(f.readStates, 2);
    EXPECT_EQ(f.caption, "Derived");
    EXPECT_EQ(f.left, 1);
    ASSERT_NE(f.Button1, nullptr);
    EXPECT_EQ(f.Button1->caption, "B");
    EXPECT_EQ(f.Button1->left, 5);
    EXPECT_EQ(f.ComponentCount(), 2);
    // The base level's reference to a component of the derived level stays nil.
    EXPECT_EQ(f.Button1->buddy, nullptr);
    EXPECT_EQ(gLog.filter("loaded").size(), 3);
    EXPECT_EQ(gLog.indexOf("loaded Form1"), gLog.size() - 3);

    RegisterFormResource("TStDerivedForm",
                         "inherited Form1: TStDerivedForm\n  inherited Missing: TStWidget\n  end\nend\n");
    TStDerivedForm g(nullptr);
    try {
        InitInheritedComponent(&g, &TStWidget::staticMetaObject);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Line 2: Ancestor for 'Missing' not found");
    }
    EXPECT_EQ(g.ComponentState() & csLoading, 0u);
    UnregisterFormResource("TStForm");
    UnregisterFormResource("TStDerivedForm");
    TStDerivedForm h(nullptr);
    EXPECT_FALSE(InitInheritedComponent(&h, &TStWidget::staticMetaObject));
}

TEST_F(StreamingTest, ErrorsAreClearAndLeaveNothingHalfRead)
{
    auto f = NewForm();
    auto err = [&](const QString& body) { return ErrorOf("object Form1: TStForm\n" + body + "end\n", f.get()); };
    EXPECT_EQ(err("  Wibble = 1\n"), "EReadError: Line 2: Error reading Form1.Wibble: Property Wibble does not exist");
    EXPECT_EQ(err("  Nope.Height = 1\n"),
              "EReadError: Line 2: Error reading Form1.Nope.Height: Property Nope does not exist");
    EXPECT_EQ(err("  Left = 'x'\n"), "EReadError: Line 2: Error reading Form1.Left: Invalid property value");
    EXPECT_EQ(err("  Left = 4294967296\n"), "EReadError: Line 2: Error reading Form1.Left: Invalid property value");
    EXPECT_EQ(err("  Mask = -1\n"), "EReadError: Line 2: Error reading Form1.Mask: Invalid property value");
    EXPECT_EQ(err("  Align = alNowhere\n"), "EReadError: Line 2: Error reading Form1.Align: Invalid property value");
    EXPECT_EQ(err("  Anchors = [akLeft, akSideways]\n"),
              "EReadError: Line 2: Error reading Form1.Anchors: Invalid property value");
    EXPECT_EQ(err("  Enabled = Maybe\n"), "EReadError: Line 2: Error reading Form1.Enabled: Invalid property value");
    EXPECT_EQ(err("  Color = clNoSuchColour\n"),
              "EReadError: Line 2: Error reading Form1.Color: Invalid property value");
    EXPECT_EQ(err("  Sub = 1\n"), "EReadError: Line 2: Error reading Form1.Sub: Property Sub is read-only");
    EXPECT_EQ(err("  Lines = ( 'a' 2 )\n"), "EReadError: Line 2: Error reading Form1.Lines: Invalid property value");
    EXPECT_EQ(err("  Heights = ( 1 'x' )\n"),
              "EReadError: Line 2: Error reading Form1.Heights: Invalid property value");
    EXPECT_EQ(err("  Heights = 5\n"), "EReadError: Line 2: Error reading Form1.Heights: Invalid property value");
    EXPECT_TRUE(
        err("  Items = <\n    item\n      Value = 'x'\n    end>\n").startsWith("EReadError: Line 4: Error reading "));
    EXPECT_EQ(err("  object Button1: TStWidget\n  end\n  object X: TNoSuchClass\n  end\n"),
              "EClassNotFound: Class TNoSuchClass not found");
    EXPECT_EQ(err("  object Button1: TStWidget\n  end\n  object Button1: TStWidget\n  end\n"),
              "EReadError: Line 4: A component named Button1 already exists");
    EXPECT_EQ(err("  object Button1: TStWidget\n    Left = x\n  end\n"),
              "EReadError: Line 3: Error reading Button1.Left: Invalid property value");
    // Whatever the read made is gone again, and nothing stays loading.
    EXPECT_EQ(f->ComponentCount(), 0);
    EXPECT_EQ(f->Button1, nullptr);
    EXPECT_EQ(f->ComponentState() & (csLoading | csReading), 0u);
}

TEST_F(StreamingTest, TruncatedOrCorruptTextNeverCrashes)
{
    const QString text = WriteComponentToText(FullForm().get());
    int failures = 0;
    for (int cut = 0; cut < text.size(); cut += 2) {
        auto f = NewForm();
        QString broken = text.left(cut);
        if (cut % 3 == 0 && cut + 1 < text.size()) broken += u'\'' + text.mid(cut + 1);  // a stray quote instead
        if (!ErrorOf(broken, f.get()).isEmpty()) {
            ++failures;
            EXPECT_EQ(f->ComponentCount(), 0) << broken.toStdString();
        }
    }
    EXPECT_GT(failures, 0);
}

TEST_F(StreamingTest, RootsComeFromTheClassRegistry)
{
    std::unique_ptr<TComponent> root(ReadComponentFromText("object Made: tstform\n  Left = 3\nend\n", nullptr));
    auto* form = qobject_cast<TStForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Made");
    EXPECT_EQ(form->left, 3);
    EXPECT_FALSE(form->Loading());

    EXPECT_EQ(GetClass("TStWidget")->meta, &TStWidget::staticMetaObject);
    UnregisterClass<TStOther>();
    EXPECT_FALSE(GetClass("TStOther"));
    try {
        FindClass("TStOther");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TStOther not found");
    }
    // A root of the same owner already carrying the name gets a numbered one.
    TComponent owner(nullptr);
    auto* first = Create<TStForm>(&owner);
    first->SetName("Form1");
    auto* second = Create<TStForm>(&owner);
    ReadComponentFromText("object Form1: TStForm\nend\n", second);
    EXPECT_EQ(second->Name(), "Form1_1");
}

}  // namespace

#include "streaming_test.moc"
