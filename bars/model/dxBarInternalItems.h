#pragma once
// Items the library makes for its own popups: the quick-customization entries and the MDI
// child's system menu. Declared here so start-up can pair them with their control classes;
// their behaviour belongs to the quick customization and the MDI handling.
#include "dxBarItems.h"

// An extra entry of the quick-customization menu ("Reset Toolbar").
class TdxBarQuickCustExtButton : public TdxBarButton {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarQuickCustExtButton(TComponent* owner) : TdxBarButton(owner) {}
};

// The check entry shared by all links of the quick-customization menu.
class TdxBarQuickCustItem : public TdxBarButton {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarQuickCustItem(TComponent* owner) : TdxBarButton(owner) {}
};

// The sub item standing for an MDI child's system menu.
class TSystemMenuSubItem : public TCustomdxBarSubItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSystemMenuSubItem(TComponent* owner) : TCustomdxBarSubItem(owner) {}
};
