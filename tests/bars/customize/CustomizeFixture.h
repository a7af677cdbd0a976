#pragma once
// A shown form with a manager and its bars, the bar windows library and the customizing
// window installed, and a dialog script that answers every box.
#include "Application.h"
#include "DialogScript.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include "dxBarBar.h"
#include "dxBarCheckListBox.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarToolbarsPage.h"
#include "dxBarWindowsLibrary.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <memory>

// The forms' and the window's font in every test.
inline void UseTestFont(TFont* font)
{
    font->SetName(QStringLiteral("DejaVu Sans"));
    font->SetHeight(-11);
}

class CustomizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        library = std::make_unique<TdxBarWindowsLibrary>();
        customizing = MakeCustomizing();
        form = MakeForm(QStringLiteral("Main"), 100, 100);
        manager = ManagerOf(form);
        manager->OnShowCustomizingForm = TNotifyEvent(&events, &TEvents::Show);
        manager->OnHideCustomizingForm = TNotifyEvent(&events, &TEvents::Hide);
    }
    void TearDown() override
    {
        customizing.reset();
        forms.clear();
        library.reset();
        dxBarFinalize();
    }
    virtual std::unique_ptr<TdxBarCustomizing> MakeCustomizing() { return std::make_unique<TdxBarCustomizing>(); }

    // A shown form at (left, top) with an edit and a manager "Manager" holding a visible
    // floating bar named after the form.
    TForm* MakeForm(const QString& name, int left, int top)
    {
        auto owned = std::make_unique<TForm>(nullptr);
        TForm* f = owned.get();
        UseTestFont(f->Font());
        f->SetBounds(left, top, 400, 300);
        auto* edit = Create<TEdit>(f);
        edit->SetParent(f);
        edit->SetBounds(10, 100, 200, 24);
        auto* m = new TdxBarManager(f);
        m->SetName(QStringLiteral("Manager"));
        UseTestFont(m->Font());
        f->SetCaption(name);
        f->Show();
        TdxBar* b = m->Bars()->Add();
        b->SetCaption(name);
        b->SetFloatLeft(left + 450);
        b->SetFloatTop(top);
        b->SetVisible(true);
        forms.push_back(std::move(owned));
        return f;
    }
    static TdxBarManager* ManagerOf(TForm* f) { return TdxBarManagerList::Instance()->FindByForm(f); }
    TdxBarCustomizingForm* Window() const { return customizing->Window(); }
    // Runs what waits in the event loop (the closed window's release).
    static void Flush() { QCoreApplication::sendPostedEvents(); }

    struct TEvents : QObject {
        void Show(TObject*) { log << "show"; }
        void Hide(TObject*) { log << "hide"; }
        QStringList log;
    } events;

    std::unique_ptr<TdxBarWindowsLibrary> library;
    std::unique_ptr<TdxBarCustomizing> customizing;
    std::vector<std::unique_ptr<TForm>> forms;
    TForm* form = nullptr;
    TdxBarManager* manager = nullptr;
    TDialogScript script;
};
