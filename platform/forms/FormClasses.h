#pragma once
// Makes the controls, dialogs and form event types of this library known to the
// form-resource reader. Forms call it before reading their resource; calling it again
// does nothing.
void RegisterFormClasses();
