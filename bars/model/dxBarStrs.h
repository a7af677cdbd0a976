#pragma once
// The bar library's user-visible texts, looked up by numeric id at each use.
//
// The base table (39001-39352) is always present. The extended items' texts
// (39400-39459, 65266) live in their own translation unit and become visible
// once dxBarRegisterExtendedTexts() has run; a program that never calls it
// does not link them.
#include <QString>
#include <QStringList>

#include <concepts>
#include <span>

// Messages and exception texts.
constexpr int dxSBAR_CONFIRMRESETTOOLBAR = 39001;  // '%s' = toolbar name
constexpr int dxSBAR_CONFIRMRESETUSAGEDATA = 39002;
constexpr int dxSBAR_ONEMANAGERPERFORM = 39003;
constexpr int dxSBAR_MANAGERNEEDSFORMOWNER = 39004;
constexpr int dxSBAR_NOMANAGERSAVAILABLE = 39005;
constexpr int dxSBAR_CONFIRMDELETETOOLBAR = 39006;   // '%s' = toolbar name
constexpr int dxSBAR_CONFIRMDELETECATEGORY = 39007;  // '%s' = category name
constexpr int dxSBAR_CONFIRMCLEARCATEGORY = 39008;   // '%s' = category name
constexpr int dxSBAR_RECURSIVESUBITEMS = 39009;
constexpr int dxSBAR_COMMANDNAMEBLANK = 39010;
constexpr int dxSBAR_TOOLBARNAMEEXISTS = 39011;  // '%s' = toolbar name
constexpr int dxSBAR_RECURSIVEGROUPS = 39012;

// Default category name.
constexpr int dxSBAR_DEFAULTCATEGORYNAME = 39101;

// Bar customizing popup.
constexpr int dxSBAR_CP_RESET = 39150;
constexpr int dxSBAR_CP_DELETE = 39151;
constexpr int dxSBAR_CP_NAME = 39152;
constexpr int dxSBAR_CP_DEFAULTSTYLE = 39153;
constexpr int dxSBAR_CP_TEXTONLYALWAYS = 39154;
constexpr int dxSBAR_CP_TEXTONLYINMENUS = 39155;
constexpr int dxSBAR_CP_IMAGEANDTEXT = 39156;
constexpr int dxSBAR_CP_BEGINAGROUP = 39157;
constexpr int dxSBAR_CP_VISIBLE = 39158;
constexpr int dxSBAR_CP_MOSTRECENTLYUSED = 39159;

// Design-time editors and customizing window captions.
constexpr int dxSBAR_ADD = 39202;
constexpr int dxSBAR_RENAME = 39206;
constexpr int dxSBAR_DELETE = 39207;
constexpr int dxSBAR_CLEAR = 39208;
constexpr int dxSBAR_VISIBLE = 39209;
constexpr int dxSBAR_OK = 39210;
constexpr int dxSBAR_CANCEL = 39211;
constexpr int dxSBAR_SUBMENUEDITOR = 39213;
constexpr int dxSBAR_SUBMENUEDITORCAPTION = 39214;
constexpr int dxSBAR_INSERT = 39215;
constexpr int dxSBAR_MOVEUP = 39216;
constexpr int dxSBAR_MOVEDOWN = 39217;
constexpr int dxSBAR_POPUPMENUEDITOR = 39218;
constexpr int dxSBAR_TABSHEET1 = 39219;  // " Toolbars "
constexpr int dxSBAR_TABSHEET2 = 39220;  // " Commands "
constexpr int dxSBAR_TABSHEET3 = 39221;  // " Options "
constexpr int dxSBAR_TOOLBARS = 39222;
constexpr int dxSBAR_TNEW = 39223;
constexpr int dxSBAR_TRENAME = 39224;
constexpr int dxSBAR_TDELETE = 39225;
constexpr int dxSBAR_TRESET = 39226;
constexpr int dxSBAR_CLOSE = 39227;
constexpr int dxSBAR_CUSTOMIZE = 39228;
constexpr int dxSBAR_CATEGORIES = 39229;
constexpr int dxSBAR_COMMANDS = 39230;
constexpr int dxSBAR_DESCRIPTION = 39231;

// Toolbar and menu texts, customizing window pages.
constexpr int dxSBAR_CUSTOMIZEMENU = 39300;
constexpr int dxSBAR_ADDREMOVEBUTTONS = 39301;
constexpr int dxSBAR_MOREBUTTONS = 39302;
constexpr int dxSBAR_RESETTOOLBAR = 39303;
constexpr int dxSBAR_EXPAND = 39304;
constexpr int dxSBAR_DRAGTOMAKEMENUFLOAT = 39305;
constexpr int dxSBAR_ADDCATEGORY = 39314;
constexpr int dxSBAR_INSERTCATEGORY = 39315;
constexpr int dxSBAR_RENAMECATEGORY = 39316;
constexpr int dxSBAR_CUSTOMTOOLBARNAME = 39317;  // "Custom " + number
constexpr int dxSBAR_RENAMETOOLBAR = 39318;
constexpr int dxSBAR_CATEGORYNAME = 39324;
constexpr int dxSBAR_TOOLBARNAME = 39325;
constexpr int dxSBAR_CUSTOMIZATIONFORM = 39327;
constexpr int dxSBAR_MODIFY = 39336;
constexpr int dxSBAR_PERSONALIZEDMENUS = 39340;
constexpr int dxSBAR_RECENTLYUSEDFIRST = 39341;
constexpr int dxSBAR_SHOWFULLMENUSAFTERDELAY = 39342;
constexpr int dxSBAR_RESETUSAGEDATA = 39343;
constexpr int dxSBAR_OTHEROPTIONS = 39344;
constexpr int dxSBAR_LARGEICONS = 39345;
constexpr int dxSBAR_SHOWTOOLTIPS = 39346;
constexpr int dxSBAR_SHOWSHORTCUTSINHINTS = 39347;
constexpr int dxSBAR_MENUANIMATIONS = 39348;
constexpr int dxSBAR_ANIMATIONNONE = 39349;
constexpr int dxSBAR_ANIMATIONRANDOM = 39350;
constexpr int dxSBAR_ANIMATIONUNFOLD = 39351;
constexpr int dxSBAR_ANIMATIONSLIDE = 39352;

// Extended items: colour names of the colour combo, in colour order.
constexpr int dxSBAR_COLOR_BLACK = 39400;
constexpr int dxSBAR_COLOR_MAROON = 39401;
constexpr int dxSBAR_COLOR_GREEN = 39402;
constexpr int dxSBAR_COLOR_OLIVE = 39403;
constexpr int dxSBAR_COLOR_NAVY = 39404;
constexpr int dxSBAR_COLOR_PURPLE = 39405;
constexpr int dxSBAR_COLOR_TEAL = 39406;
constexpr int dxSBAR_COLOR_GRAY = 39407;
constexpr int dxSBAR_COLOR_SILVER = 39408;
constexpr int dxSBAR_COLOR_RED = 39409;
constexpr int dxSBAR_COLOR_LIME = 39410;
constexpr int dxSBAR_COLOR_YELLOW = 39411;
constexpr int dxSBAR_COLOR_BLUE = 39412;
constexpr int dxSBAR_COLOR_FUCHSIA = 39413;
constexpr int dxSBAR_COLOR_AQUA = 39414;
constexpr int dxSBAR_COLOR_WHITE = 39415;
constexpr int dxSBAR_COLOR_AUTOMATIC = 39416;
constexpr int dxSBAR_COLOR_CUSTOM = 39417;

// Extended items: date, tree-view and image combos.
constexpr int dxSBAR_DATETODAY = 39450;
constexpr int dxSBAR_DATECLEAR = 39451;
constexpr int dxSBAR_DATEDIALOGCAPTION = 39452;
constexpr int dxSBAR_DIALOGOK = 39453;
constexpr int dxSBAR_DIALOGCANCEL = 39454;
constexpr int dxSBAR_TREEVIEWDIALOGCAPTION = 39455;
constexpr int dxSBAR_IMAGEINDEX = 39456;
constexpr int dxSBAR_IMAGETEXT = 39457;
constexpr int dxSBAR_IMAGEDIALOGCAPTION = 39458;
constexpr int dxSBAR_PLACEFORCONTROL = 39459;  // "The place for the " + control name

// Control container item.
constexpr int dxSBAR_CONTAINERSAMECONTROL = 65266;

// One entry of a compiled-in text table.
struct dxBarTextEntry {
    int id;
    const char* text;  // UTF-8
};

// The text of id, or an empty string for an id no table holds.
QString dxBarStr(int id);

// Makes a further table visible to dxBarStr. Registering the same table
// again does nothing. Ids already known keep their first text.
void dxBarRegisterTexts(std::span<const dxBarTextEntry> table);

// Registers the extended items' texts (39400-39459, 65266). Called by the
// extended items' start-up; safe to call more than once.
void dxBarRegisterExtendedTexts();

// Every id currently resolvable, in ascending order.
QList<int> dxBarTextIds();

// Fills a format text in one pass: each %s or %d takes the next argument,
// "%%" gives "%". Specifiers beyond the last argument stay as written;
// surplus arguments are ignored; inserted text is never scanned again.
QString dxBarFormatList(const QString& format, const QStringList& args);

namespace dxbarstrs_detail {
inline QString ArgText(const QString& s)
{
    return s;
}
inline QString ArgText(const char* s)
{
    return QString::fromUtf8(s);
}
template <std::integral T>
QString ArgText(T n)
{
    return QString::number(n);
}
}  // namespace dxbarstrs_detail

// dxBarFormat(dxBarStr(dxSBAR_CONFIRMDELETETOOLBAR), bar->Caption())
template <typename... Args>
QString dxBarFormat(const QString& format, const Args&... args)
{
    return dxBarFormatList(format, QStringList{dxbarstrs_detail::ArgText(args)...});
}
