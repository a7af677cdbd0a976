#pragma once
// URL schemes of the browser control.
//  res:       pages, style sheets and images from the program's compiled resources or from
//             a loaded resource module: res://<program path>/<name>,
//             res://<folder>/<module file>/<name>.
//  vesk-doc:  documents written into a browser (TWebDocument), served from memory.
#include <QString>

class QWebEngineProfile;

inline constexpr char kResScheme[] = "res";
inline constexpr char kDocumentScheme[] = "vesk-doc";

// Registers the schemes with the web engine. Must run before the application object exists.
void RegisterWebSchemes();

// The browser engine refuses to start as root unless its sandbox is off: run as root, the
// programs turn it off. Must run before the application object exists.
void AllowBrowserEngineAsRoot();

// Installs the scheme handlers on a profile (once per profile; safe to call again).
void InstallWebSchemeHandlers(QWebEngineProfile* profile);

// The Qt resource folder (":/editor") that res://<program path>/<name> serves from.
// Anything that is not a resource path (":/...") is refused and serves nothing.
void SetProgramResourcePrefix(const QString& prefix);
QString ProgramResourcePrefix();
