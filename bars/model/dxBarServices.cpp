#include "dxBarServices.h"

#include "Application.h"
#include "dxBarItemLink.h"

#include <QtGlobal>

TdxBarItemControlClass TdxBarButtonControlClass{"TdxBarButtonControl"};
TdxBarItemControlClass TdxBarEditControlClass{"TdxBarEditControl"};
TdxBarItemControlClass TCustomdxBarComboControlClass{"TCustomdxBarComboControl"};
TdxBarItemControlClass TdxBarComboControlClass{"TdxBarComboControl"};
TdxBarItemControlClass TdxBarSubItemControlClass{"TdxBarSubItemControl"};
TdxBarItemControlClass TdxBarContainerItemControlClass{"TdxBarContainerItemControl"};
TdxBarItemControlClass TdxBarQuickCustExtButtonControlClass{"TdxBarQuickCustExtButtonControl"};
TdxBarItemControlClass TdxBarQuickCustItemControlClass{"TdxBarQuickCustItemControl"};
TdxBarItemControlClass TSystemMenuSubItemControlClass{"TSystemMenuSubItemControl"};

namespace {
TdxBarWindowServices* installedServices = nullptr;
TdxBarCustomizingNotifications* installedForm = nullptr;
}  // namespace

TdxBarCustomizingNotifications& dxBarCustomizingForm()
{
    static TdxBarCustomizingNotifications none;
    return installedForm ? *installedForm : none;
}

void dxBarSetCustomizingForm(TdxBarCustomizingNotifications* form)
{
    installedForm = form;
}

bool dxBarCustomizingFormInstalled()
{
    return installedForm != nullptr;
}

TdxBarWindowServices& dxBarWindowServices()
{
    static TdxBarWindowServices none;
    return installedServices ? *installedServices : none;
}

void dxBarSetWindowServices(TdxBarWindowServices* services)
{
    installedServices = services;
}
