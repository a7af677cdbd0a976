// The process-wide manager list's registration, and the start-up that makes the manager's
// classes streamable.
#include "ClassRegistry.h"
#include "ImgList.h"
#include "TypInfo.h"
#include "dxBarDockControls.h"
#include "dxBarGroups.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarPopupMenuLinks.h"
#include "dxBarServices.h"

void TdxBarManagerList::Add(TdxBarManager* manager)
{
    if (!manager || managers_.contains(manager)) return;
    managers_.append(manager);
    // The form's messages reach the bars through the listener the windows library installs
    // with the hooks.
    dxBarWindowServices().ManageOwnerForm(manager);
    if (managers_.size() > 1) return;
    TdxBarWindowServices& services = dxBarWindowServices();
    services.InstallHooks();
    services.CreateHintWindow();
}

void TdxBarManagerList::Remove(TdxBarManager* manager)
{
    if (!managers_.removeOne(manager) || !managers_.isEmpty()) return;
    TdxBarWindowServices& services = dxBarWindowServices();
    services.RemoveHooks();
    services.FreeHintWindow();
}

void dxBarRegisterManagerClasses()
{
    static const bool registered = [] {
        RegisterClasses<TdxBarManager, TdxBarDockControl, TdxBarGroup, TImageList, TdxBarPopupMenu>();
        RegisterEventType<TdxBarClickItemEvent>();
        RegisterEventType<TdxBarEvent>();
        RegisterEventType<TdxBarItemLinkEvent>();
        RegisterEventType<TdxBarCanDockingEvent>();
        RegisterEventType<TdxBarMenuMergeEvent>();
        RegisterEventType<TdxBarShowPopupEvent>();
        RegisterEventType<TdxBarPopupMenuLinkActionEvent>();
        return true;
    }();
    (void)registered;
}
