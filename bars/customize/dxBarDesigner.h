#pragma once
// The form designer that hosts the bars while a manager is designing, as the design editors of
// the customizing window see it: they hand it the component to select, tell it the form
// changed, ask it to free an item or a group, and ask it for the name of a new component.
//
// Without a designer installed the default one answers: it selects nothing, keeps no mark of
// changes, frees the component, and proposes a name no component of the form bears.
#include <QString>

class TComponent;

class TdxBarDesigner {
public:
    virtual ~TdxBarDesigner() = default;
    // component becomes the designer's selection.
    virtual void SelectComponent(TComponent* component) = 0;
    // The designed form changed.
    virtual void Modified() = 0;
    // Frees component as the designer's own deletion would.
    virtual void DeleteComponent(TComponent* component) = 0;
    // A name for a new component owned by root: base followed by a number.
    virtual QString UniqueName(TComponent* root, const QString& base) = 0;
};

class TdxBarDefaultDesigner : public TdxBarDesigner {
public:
    void SelectComponent(TComponent*) override {}
    void Modified() override {}
    void DeleteComponent(TComponent* component) override;
    QString UniqueName(TComponent* root, const QString& base) override;
};

// The installed designer, else the default one.
TdxBarDesigner& dxBarDesigner();
// Installs designer (none: the default answers again).
void dxBarSetDesigner(TdxBarDesigner* designer);
