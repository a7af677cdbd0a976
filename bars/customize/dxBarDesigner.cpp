#include "dxBarDesigner.h"

#include "Classes.h"
#include "dxBarDesignRules.h"

namespace {
TdxBarDesigner* installed = nullptr;
}

void TdxBarDefaultDesigner::DeleteComponent(TComponent* component)
{
    delete component;
}

QString TdxBarDefaultDesigner::UniqueName(TComponent* root, const QString& base)
{
    return dxBarUniqueComponentName(root, base);
}

TdxBarDesigner& dxBarDesigner()
{
    static TdxBarDefaultDesigner standard;
    return installed ? *installed : standard;
}

void dxBarSetDesigner(TdxBarDesigner* designer)
{
    installed = designer;
}
