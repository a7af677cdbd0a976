#include "dxBarStrs.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Texts every program carries, sorted by id.
constexpr dxBarTextEntry kBaseTexts[] = {
    {39001, "Are you sure you want to reset the changes made to the '%s' toolbar?"},
    {39002,
     "This will delete the record of the commands you've used in this application and restore the default set of "
     "visible commands to the menus and toolbars. It will not undo any explicit customizations.   Are you sure you "
     "want to proceed?"},
    {39003, "A Form should contain only a single TdxBarManager"},
    {39004, "TdxBarManager should have as its Owner - TForm (TCustomForm)"},
    {39005, "There are no TdxBarManagers available"},
    {39006, "Are you sure you want to delete the '%s' toolbar?"},
    {39007, "Are you sure you want to delete the '%s' category?"},
    {39008, "Are you sure you want to delete all commands in the '%s' category?"},
    {39009, "You cannot create recursive subitems"},
    {39010, "A command name cannot be blank. Please enter a name."},
    {39011, "A toolbar named '%s' already exists. Type another name."},
    {39012, "You cannot create recursive groups"},
    {39101, "Default"},
    {39150, "&Reset"},
    {39151, "&Delete"},
    {39152, "&Name:"},
    {39153, "Defa&ult style"},
    {39154, "&Text Only (Always)"},
    {39155, "Text &Only (in Menus)"},
    {39156, "Image &and Text"},
    {39157, "Begin a &Group"},
    {39158, "&Visible"},
    {39159, "&Most recently used"},
    {39202, "Add..."},
    {39206, "Rename..."},
    {39207, "Delete"},
    {39208, "Clear"},
    {39209, "Visible"},
    {39210, "OK"},
    {39211, "Cancel"},
    {39213, "SubMenu Editor..."},
    {39214, "SubMenu Editor"},  // caption of the sub-menu editor window
    {39215, "Insert..."},
    {39216, "Move Up"},
    {39217, "Move Down"},
    {39218, "PopupMenu Editor..."},
    {39219, " Toolbars "},
    {39220, " Commands "},
    {39221, " Options "},
    {39222, "Toolb&ars:"},
    {39223, "&New..."},
    {39224, "R&ename..."},
    {39225, "&Delete"},
    {39226, "&Reset..."},
    {39227, "Close"},
    {39228, "Customize"},
    {39229, "Cate&gories:"},
    {39230, "Comman&ds:"},
    {39231, "Description  "},
    {39300, "&Customize..."},
    {39301, "&Add or Remove Buttons"},
    {39302, "More Buttons"},
    {39303, "&Reset Toolbar"},
    {39304, "Expand (Ctrl-Down)"},
    {39305, "Drag to make this menu float"},
    {39314, "Add Category"},
    {39315, "Insert Category"},
    {39316, "Rename Category"},
    {39317, "Custom "},
    {39318, "Rename Toolbar"},
    {39324, "&Category name:"},
    {39325, "&Toolbar name:"},
    {39327, "Customization Form..."},
    {39336, "... modify"},
    {39340, "Personalized Menus and Toolbars  "},
    {39341, "Me&nus show recently used commands first"},
    {39342, "Show f&ull menus after a short delay"},
    {39343, "&Reset my usage data"},
    {39344, "Other  "},
    {39345, "&Large icons"},
    {39346, "Show Tool&Tips on toolbars"},
    {39347, "Show s&hortcut keys in ToolTips"},
    {39348, "&Menu animations:"},
    {39349, "(None)"},
    {39350, "Random"},
    {39351, "Unfold"},
    {39352, "Slide"},
};

constexpr bool SortedById(std::span<const dxBarTextEntry> table)
{
    for (size_t i = 1; i < table.size(); ++i)
        if (table[i - 1].id >= table[i].id) return false;
    return true;
}
static_assert(SortedById(kBaseTexts), "library texts must be sorted by unique id");

struct Registry {
    std::mutex lock;
    std::vector<std::span<const dxBarTextEntry>> tables;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

const char* FindIn(std::span<const dxBarTextEntry> table, int id)
{
    for (const dxBarTextEntry& e : table)
        if (e.id == id) return e.text;
    return nullptr;
}

}  // namespace

QString dxBarStr(int id)
{
    if (const char* text = FindIn(kBaseTexts, id)) return QString::fromUtf8(text);
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    for (const auto& table : r.tables)
        if (const char* text = FindIn(table, id)) return QString::fromUtf8(text);
    return {};
}

void dxBarRegisterTexts(std::span<const dxBarTextEntry> table)
{
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const bool known = std::any_of(r.tables.begin(), r.tables.end(),
                                   [&](const auto& t) { return t.data() == table.data() && t.size() == table.size(); });
    if (!known) r.tables.push_back(table);
}

QList<int> dxBarTextIds()
{
    QList<int> ids;
    for (const dxBarTextEntry& e : kBaseTexts) ids.append(e.id);
    {
        Registry& r = TheRegistry();
        std::lock_guard guard(r.lock);
        for (const auto& table : r.tables)
            for (const dxBarTextEntry& e : table)
                if (!ids.contains(e.id)) ids.append(e.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString dxBarFormatList(const QString& format, const QStringList& args)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar spec = i + 1 < format.size() ? format[i + 1] : QChar();
        if (c != u'%' || spec.isNull()) {
            result += c;
        } else if (spec == u'%') {
            result += u'%';
            ++i;
        } else if ((spec == u's' || spec == u'd') && next < args.size()) {
            result += args[next++];
            ++i;
        } else {
            result += c;  // unknown specifier or no argument left: keep it as written
        }
    }
    return result;
}
