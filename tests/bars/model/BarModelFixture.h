#pragma once
// Shared set-up of the item model tests: a form with a bar manager, one toolbar,
// and fake item controls that record the notifications they receive.
#include "ExceptionBarrier.h"
#include "FormResources.h"
#include "Forms.h"
#include "dxBarServices.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

// The bar window the fixture's bar is shown in (ItemControlStandIn_support.cpp, which also
// gives the item controls their base without the windows library).
TCustomdxBarControl* StandInBarWindow();

// Records every notification by name.
class FakeItemControl : public TdxBarItemControl {
public:
    explicit FakeItemControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}
    bool IsActive() const override { return active; }
    void Repaint() override { calls << "Repaint"; }
    void RepaintBar() override { calls << "RepaintBar"; }
    void CaptionChanged() override { calls << "CaptionChanged"; }
    void EnabledChanged() override { calls << "EnabledChanged"; }
    void GlyphChanged() override { calls << "GlyphChanged"; }
    void ShortCutChanged() override { calls << "ShortCutChanged"; }
    void DownChanged() override { calls << "DownChanged"; }
    void PaintStyleChanged() override { calls << "PaintStyleChanged"; }
    void WidthChanged() override { calls << "WidthChanged"; }

    bool active = false;
    QStringList calls;
};

// A form owning a manager with one bar whose links get fake controls.
class BarModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        for (TdxBarItemControlClass* c : ControlClasses()) c->factory = &MakeFake;
        form = std::make_unique<TForm>(nullptr);
        manager = new TdxBarManager(form.get());
        bar = manager->Bars()->Add();
        // A bar window marks the bar "shown".
        bar->ItemLinks()->SetBarControl(StandInBarWindow());
        SetGuardedExceptionHandler(
            [this](QObject*, const std::exception& e) { shownErrors << QString::fromUtf8(e.what()); });
    }

    void TearDown() override
    {
        form.reset();
        SetGuardedExceptionHandler({});
        for (TdxBarItemControlClass* c : ControlClasses()) c->factory = nullptr;
        dxBarFinalize();
    }

    template <class T>
    T* NewItem(const QString& caption = {})
    {
        T* item = Create<T>(form.get());
        if (!caption.isEmpty()) item->SetCaption(caption);
        return item;
    }

    // Places item on the bar; the link gets a fake control.
    TdxBarItemLink* Show(TdxBarItem* item)
    {
        TdxBarItemLink* link = bar->ItemLinks()->Add();
        link->SetItem(item);
        link->CreateControl();
        return link;
    }

    static FakeItemControl* Fake(TdxBarItemLink* link) { return static_cast<FakeItemControl*>(link->Control()); }

    static TdxBarItemControl* MakeFake(TdxBarItemLink* link) { return new FakeItemControl(link); }

    static QList<TdxBarItemControlClass*> ControlClasses()
    {
        return {&TdxBarButtonControlClass, &TdxBarEditControlClass,    &TCustomdxBarComboControlClass,
                &TdxBarComboControlClass,  &TdxBarSubItemControlClass, &TdxBarContainerItemControlClass};
    }

    std::unique_ptr<TForm> form;
    TdxBarManager* manager = nullptr;
    TdxBar* bar = nullptr;
    QStringList shownErrors;
};

// Records handler calls for event binding in tests.
class Recorder : public QObject {
    Q_OBJECT
public:
    QStringList log;
    std::function<void(TObject*)> onClick;
    std::function<void(TdxBarItem*)> onClickItem;
    void Click(TObject* sender)
    {
        log << QStringLiteral("OnClick");
        if (onClick) onClick(sender);
    }
    void Execute(TObject*) { log << QStringLiteral("Execute"); }
    void Update(TObject*) { log << QStringLiteral("Update"); }
    void ClickItem(TdxBarManager*, TdxBarItem* item)
    {
        log << QStringLiteral("OnClickItem:") + item->Caption();
        if (onClickItem) onClickItem(item);
    }
};

// Reads managers from form texts into forms of its own, freed after each test.
class ManagerStreamingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        dxBarRegisterManagerClasses();
    }
    void TearDown() override
    {
        forms.clear();
        dxBarFinalize();
    }
    TdxBarManager* Read(const QString& text)
    {
        forms.push_back(std::make_unique<TForm>(nullptr));
        ReadComponentFromText(text, forms.back().get());
        return TdxBarManagerList::Instance()->FindByForm(forms.back().get());
    }

    std::vector<std::unique_ptr<TForm>> forms;
};
