#include "dxBarServices.h"

namespace {
TdxBarWindowServices* installedServices = nullptr;
}  // namespace

TdxBarWindowServices& dxBarWindowServices()
{
    static TdxBarWindowServices none;
    return installedServices ? *installedServices : none;
}

void dxBarSetWindowServices(TdxBarWindowServices* services)
{
    installedServices = services;
}
