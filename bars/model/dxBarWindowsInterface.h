#pragma once
// What the item model needs from the bar windows, the customizing window and the
// application, kept small so the model builds and runs without any window.
//
// - TdxBarItemControl: the on-screen counterpart of one shown item link. The bar windows
//   derive their controls from it; the base answers "nothing to do" everywhere.
// - TdxBarItemControlClass: a control class as the item/control registry names it. The
//   windows library gives each standard descriptor its factory when it starts.
// - TdxBarCustomizingNotifications: the customizing window's notification routines; they do
//   nothing while no customizing window is installed.
// - dxBarHandleException: shows a failure of a click handler without letting it propagate.
#include "dxBarTypes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <functional>

class TCustomdxBarControl;
class TdxBar;
class TdxBarGroup;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarManager;

class TdxBarItemControl : public QObject {
    Q_OBJECT
public:
    explicit TdxBarItemControl(TdxBarItemLink* link);
    ~TdxBarItemControl() override;

    TdxBarItemLink* ItemLink() const;
    TdxBarItem* Item() const;

    // The bar window that shows this control; none until the windows exist.
    virtual TCustomdxBarControl* Parent() const { return nullptr; }
    // Selected with its editor or menu open (the item's live link).
    virtual bool IsActive() const { return false; }
    // The selected control of a bar window whose active state is set: left alone by repaints.
    virtual bool IsSelectedInActiveBar() const { return false; }
    // The paint style the control really uses (a menu row shows captions).
    virtual TdxBarPaintStyle RealPaintStyle() const { return psStandard; }
    // May the control be selected (keyboard navigation, accelerators)?
    virtual bool CanSelect() const { return true; }

    virtual void Repaint() {}
    // The bar window re-lays itself out.
    virtual void RepaintBar() {}

    // Change notifications from the item, one per changed property.
    virtual void AlignChanged() {}
    virtual void CaptionChanged() {}
    virtual void EnabledChanged() {}
    virtual void GlyphChanged() {}
    virtual void ShortCutChanged() {}
    virtual void ButtonStyleChanged() {}
    virtual void DownChanged() {}
    virtual void DropDownEnabledChanged() {}
    virtual void PaintStyleChanged() {}
    virtual void WidthChanged() {}

    // Window items: the in-place editor of a live control.
    virtual bool HasEditor() const { return false; }
    virtual bool EditorFocused() const { return false; }
    virtual QString EditorText() const { return {}; }
    virtual void SetEditorText(const QString& /*text*/) {}
    // Combo items: the control's dropped-down state and its current list index.
    virtual bool IsDroppedDown() const { return false; }
    virtual int CurItemIndex() const { return -1; }
    virtual void SetCurItemIndex(int /*index*/) {}

private:
    QPointer<TdxBarItemLink> link_;
};

// A control class of the item/control registry: a name and, once the windows library has
// started, a factory. Identity is the descriptor's address.
struct TdxBarItemControlClass {
    using Factory = TdxBarItemControl* (*)(TdxBarItemLink*);
    const char* className;
    Factory factory = nullptr;
};

// The standard control classes; the bar windows install their factories.
extern TdxBarItemControlClass TdxBarButtonControlClass;
extern TdxBarItemControlClass TdxBarEditControlClass;
extern TdxBarItemControlClass TCustomdxBarComboControlClass;
extern TdxBarItemControlClass TdxBarComboControlClass;
extern TdxBarItemControlClass TdxBarSubItemControlClass;
extern TdxBarItemControlClass TdxBarContainerItemControlClass;
extern TdxBarItemControlClass TdxBarQuickCustExtButtonControlClass;
extern TdxBarItemControlClass TdxBarQuickCustItemControlClass;
extern TdxBarItemControlClass TSystemMenuSubItemControlClass;

// The customizing window's notification routines.
class TdxBarCustomizingNotifications {
public:
    virtual ~TdxBarCustomizingNotifications() = default;
    // True while a customizing window is open.
    virtual bool Exists() const { return false; }
    virtual void StyleChanged() {}
    virtual void HelpButtonChanged() {}
    virtual void BarChanged(TdxBar* /*bar*/) {}
    virtual void ItemsChanged() {}
    virtual void SelectItem(TdxBarItem* /*item*/) {}
    virtual void ItemDestroyed(TdxBarItem* /*item*/) {}
    virtual void OptionsChanged() {}
    virtual void ItemRenamed(TdxBarItem* /*item*/) {}
    virtual void GroupRenamed(TdxBarGroup* /*group*/) {}
    virtual void GroupItemRenamed(TdxBarItem* /*item*/) {}
};

// The installed notifications (a do-nothing instance when none is installed).
TdxBarCustomizingNotifications& dxBarCustomizingForm();
// Installs the customizing window's notifications; nullptr uninstalls them.
void dxBarSetCustomizingForm(TdxBarCustomizingNotifications* form);

// Shows an exception raised by a click handler through the application's exception
// handler. Never throws.
void dxBarHandleException(const std::exception& e);
// Replaces where dxBarHandleException sends exceptions (tests); an empty function restores
// the application's handler.
void dxBarSetExceptionHandler(std::function<void(const std::exception&)> handler);
