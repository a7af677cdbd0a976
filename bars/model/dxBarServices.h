#pragma once
// The one seam between the item model and the bar windows library, by job:
// - dxBarWindowServices.h: what the model asks of the windows library (installed at start-up;
//   headless without it);
// - dxBarItemControl.h: the item control, the on-screen counterpart of a shown item link;
// - dxBarCustomizingNotifications.h: what the model tells the customizing window.
#include "dxBarCustomizingNotifications.h"
#include "dxBarItemControl.h"
#include "dxBarWindowServices.h"
