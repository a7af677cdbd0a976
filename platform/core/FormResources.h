#pragma once
// Form resources: the text a form class is built from, found by the class name. The
// program's forms are compiled in as ":/forms/<ClassName>.form"; a resource registered at
// run time under a class name takes precedence. A form class's resource may be built on
// its base class's ("inherited frmMain: TfrmMain"): the levels are read most-base first.
#include "Classes.h"

#include <QString>
#include <optional>

// The text of the form resource of a class, if it has one.
std::optional<QString> FindFormResource(const QString& className);
void RegisterFormResource(const QString& className, const QString& text);
void UnregisterFormResource(const QString& className);

// Reads every resource level of instance's classes below rootAncestor (excluded), most-base
// first; references are fixed up after each level and Loaded() runs once after the last.
// False when no class has a resource. Errors pass on (EReadError, EClassNotFound); the
// components made by the failed read are freed again.
bool InitInheritedComponent(TComponent* instance, const QMetaObject* rootAncestor, bool ignoreEvents = false);

// Reads text into root as one level with its own Loaded() calls. Without a root, the root
// is made from the class registry. ignoreEvents skips event bindings ("OnClick = X").
TComponent* ReadComponentFromText(const QString& text, TComponent* root, bool ignoreEvents = false);
// The text of root and its children.
QString WriteComponentToText(TComponent* root);
