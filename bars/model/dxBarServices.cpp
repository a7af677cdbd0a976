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
std::function<void(const std::exception&)> exceptionHandler;
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

void dxBarHandleException(const std::exception& e)
{
    try {
        if (exceptionHandler)
            exceptionHandler(e);
        else if (Application)
            Application->HandleException(nullptr, e);
        else
            qWarning("%s", e.what());
    } catch (...) {
        // A failing handler must not turn a shown failure into a crash.
    }
}

void dxBarSetExceptionHandler(std::function<void(const std::exception&)> handler)
{
    exceptionHandler = std::move(handler);
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
