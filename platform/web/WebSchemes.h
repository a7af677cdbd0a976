#pragma once
// URL schemes of the browser control.
//  res:       pages, style sheets and images from the program's compiled resources or from
//             a loaded resource module: res://<program path>/<name>,
//             res://<folder>/<module file>/<name>.
//  vesk-doc:  documents written into a browser (TWebDocument), served from memory.
//  vesk-file: local files as a guarded browser reaches them (LocalFileScheme.h).
#include <QString>

class QWebEngineProfile;

inline constexpr char kResScheme[] = "res";
inline constexpr char kDocumentScheme[] = "vesk-doc";
inline constexpr char kLocalFileScheme[] = "vesk-file";

// Registers the schemes with the web engine and keeps the engine off the network
// (KeepBrowserEngineOffline). Must run before the application object exists.
void RegisterWebSchemes();

// Nothing the engine loads reaches the network: every connection it opens goes to a proxy
// on a loopback port nobody answers on (loopback addresses included), WebRTC sends UDP only
// through a proxy, so not at all, and every host name it would look up (a WebRTC server's)
// is found nowhere without asking a name server. The programs show only their own pages and
// local files. Must run before the application object exists.
void KeepBrowserEngineOffline();

// The browser engine refuses to start as root unless its sandbox is off: run as root, the
// programs turn it off. Must run before the application object exists.
void AllowBrowserEngineAsRoot();

// Installs the scheme handlers on a profile (once per profile; safe to call again).
void InstallWebSchemeHandlers(QWebEngineProfile* profile);

// The Qt resource folder (":/editor") that res://<program path>/<name> serves from.
// Anything that is not a resource path (":/...") is refused and serves nothing.
void SetProgramResourcePrefix(const QString& prefix);
QString ProgramResourcePrefix();
