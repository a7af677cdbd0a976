// The bar layout store: registry and ini file round trips, damaged data, and what a save
// leaves alone.
#include "DurableFile.h"
#include "FormResources.h"
#include "Forms.h"
#include "Graphics.h"
#include "IniFiles.h"
#include "Registry.h"
#include "TestSupport.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarLayoutStore.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <cerrno>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// %NAME%, %STYLE% and %STORE% are filled in by the tests.
const char* const kFormText = R"(object %NAME%: TForm
  object DockA: TdxBarDockControl
    Align = alTop
    Height = 26
    BarManager = BarManager1
  end
  object DockB: TdxBarDockControl
    Align = alBottom
    Height = 26
    BarManager = BarManager1
  end
  object DockC: TdxBarDockControl
    Align = alLeft
    Width = 26
  end
  object BarManager1: TdxBarManager
    Bars = <
      item
        Caption = 'Menu'
        DockedDockingStyle = dsTop
        DockingStyle = dsTop
        IsMainMenu = True
        ItemLinks = <
          item
            Item = siFile
            Visible = True
          end>
        Name = 'Menu'
        Visible = True
      end
      item
        Caption = 'Tools'
        DockControl = DockA
        DockedDockControl = DockA
        ItemLinks = <
          item
            BeginGroup = True
            Item = btOpen
            Visible = True
          end
          item
            Item = btSave
            Visible = True
          end
          item
            Item = edPath
            Visible = True
          end>
        Name = 'Tools'
        Visible = True
      end
      item
        Caption = 'Extra'
        DockingStyle = dsLeft
        ItemLinks = <
          item
            Item = btSave
            Visible = True
          end>
        Name = 'Extra'
        Visible = True
      end>
    Categories = (
      'Default')
    Style = %STYLE%
%STORE%    object btOpen: TdxBarButton
      Caption = 'Open'
      Category = 0
    end
    object btSave: TdxBarButton
      Caption = 'Save'
      Category = 0
    end
    object edPath: TdxBarEdit
      Caption = 'Path'
      Category = 0
    end
    object siFile: TdxBarSubItem
      Caption = 'File'
      Category = 0
      ItemLinks = <
        item
          Item = btOpen
          Visible = True
        end
        item
          Item = btSave
          Visible = True
        end>
    end
  end
end
)";

const QString kPath = u"\\Software\\Test\\Bars"_s;

class LayoutStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = testsupport::TempDir() + "/layout-" + info->name();
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        TRegistryStore::SetDefaultFileForTesting(dir + "/registry.json");
        iniPath = dir + "/bars.ini";
    }
    void TearDown() override
    {
        forms.clear();
        TRegistryStore::SetDefaultFileForTesting(QString());
        dxBarFinalize();
    }

    // A form read from the text; store: resource lines that switch a store on.
    TdxBarManager* Open(const QString& store = {}, const QString& style = u"bmsEnhanced"_s,
                        const QString& name = u"StoreForm"_s)
    {
        QString text = QString::fromUtf8(kFormText);
        text.replace("%NAME%", name).replace("%STYLE%", style).replace("%STORE%", store);
        forms.push_back(std::make_unique<TForm>(nullptr));
        ReadComponentFromText(text, forms.back().get());
        return TdxBarManagerList::Instance()->FindByForm(forms.back().get());
    }
    static QString RegistryStore()
    {
        return u"    RegistryPath = 'Software\\Test\\Bars\\'\n    StoreInRegistry = True\n"_s;
    }
    QString IniStore() const { return "    IniFileName = '" + iniPath + "'\n    StoreInIniFile = True\n"; }
    // Frees the form (and with it the manager, which stores its layout).
    void Close(TdxBarManager* m)
    {
        for (auto it = forms.begin(); it != forms.end(); ++it)
            if (it->get() == m->OwnerForm()) {
                forms.erase(it);
                return;
            }
    }

    static TdxBar* Bar(TdxBarManager* m, int i) { return m->Bars()->Items(i); }
    static TdxBarItemLinks* Links(TdxBarManager* m, int bar) { return Bar(m, bar)->ItemLinks(); }
    static TdxBarItemLinks* SubLinks(TdxBarManager* m)
    {
        return static_cast<TCustomdxBarSubItem*>(m->ItemByName("siFile"))->ItemLinks();
    }

    // Everything the store keeps, one line per value.
    static QStringList Layout(TdxBarManager* m)
    {
        QStringList out;
        out << QString("options %1 %2 %3 %4 %5 %6")
                   .arg(m->MenusShowRecentItemsFirst())
                   .arg(m->ShowFullMenusAfterDelay())
                   .arg(m->LargeIcons())
                   .arg(int(m->MenuAnimations()))
                   .arg(m->ShowHint())
                   .arg(m->ShowShortCutInHint());
        auto links = [&](const QString& owner, TdxBarItemLinks* ls) {
            for (int j = 0; j < ls->Count(); ++j) {
                TdxBarItemLink* l = ls->Items(j);
                out << QString("%1 link %2: %3 bg=%4 ud=%5 '%6' glyph=%7x%8 ps=%9 w=%10 v=%11 use=%12 recent=%13")
                           .arg(owner)
                           .arg(j)
                           .arg(l->Item() ? l->Item()->Name() : "-")
                           .arg(l->StoredBeginGroup())
                           .arg(l->UserDefine().toInt())
                           .arg(l->UserCaption())
                           .arg(l->UserGlyph()->Width())
                           .arg(l->UserGlyph()->Height())
                           .arg(int(l->UserPaintStyle()))
                           .arg(l->UserWidth())
                           .arg(l->Visible())
                           .arg(l->UseCount())
                           .arg(l->RecentIndex());
            }
        };
        for (int i = 0; i < m->Bars()->Count(); ++i) {
            TdxBar* b = Bar(m, i);
            out << QString(
                       "bar %1 '%2' name=%3 docked=%4/%5 %6,%7 one=%8 row=%9 float=%10,%11 %12x%13 dock=%14/%15 "
                       "visible=%16")
                       .arg(i)
                       .arg(b->Caption(), b->Name())
                       .arg(b->DockedDockControl() ? b->DockedDockControl()->Name() : "-")
                       .arg(int(b->DockedDockingStyle()))
                       .arg(b->DockedLeft())
                       .arg(b->DockedTop())
                       .arg(b->OneOnRow())
                       .arg(b->Row())
                       .arg(b->FloatLeft())
                       .arg(b->FloatTop())
                       .arg(b->FloatClientWidth())
                       .arg(b->FloatClientHeight())
                       .arg(b->DockControl() ? b->DockControl()->Name() : "-")
                       .arg(int(b->DockingStyle()))
                       .arg(b->Visible());
            links("bar " + QString::number(i), b->ItemLinks());
        }
        links("siFile", SubLinks(m));
        return out;
    }

    // Changes every value the store keeps away from what the form resource gives.
    static void ChangeEverything(TdxBarManager* m)
    {
        m->SetMenusShowRecentItemsFirst(false);
        m->SetShowFullMenusAfterDelay(false);
        m->SetLargeIcons(true);
        m->SetMenuAnimations(maSlide);
        m->SetShowHint(false);
        m->SetShowShortCutInHint(true);
        TdxBar* tools = Bar(m, 1);
        tools->SetDockControl(static_cast<TdxBarDockControl*>(m->OwnerForm()->FindComponent("DockB")));
        tools->SetDockedDockControl(static_cast<TdxBarDockControl*>(m->OwnerForm()->FindComponent("DockB")));
        tools->SetCaption("My Tools");
        TdxBar* extra = Bar(m, 2);
        extra->SetDockingStyle(dsNone);
        extra->SetDockedDockingStyle(dsRight);
        extra->SetDockedLeft(17);
        extra->SetDockedTop(5);
        extra->SetOneOnRow(true);
        extra->SetRow(3);
        extra->SetFloatLeft(-40);
        extra->SetFloatTop(300);
        extra->SetFloatClientWidth(120);
        extra->SetFloatClientHeight(44);
        extra->SetVisible(false);
        TdxBarItemLink* open = Links(m, 1)->Items(0);
        open->SetBeginGroup(false);
        open->SetUserCaption("Open it");
        open->SetUserPaintStyle(psCaptionGlyph);
        QImage image(16, 15, QImage::Format_ARGB32);
        image.fill(Qt::red);
        TBitmap glyph;
        glyph.SetImage(image);
        open->SetUserGlyph(&glyph);
        TdxBarItemLink* path = Links(m, 1)->Items(2);
        path->SetUserWidth(250);
        path->SetBeginGroup(true);
        Links(m, 1)->Items(1)->SetVisible(false);
        // Usage: clicks reorder the recent order and count uses.
        Links(m, 1)->Items(2)->ItemClicked(true);
        Links(m, 1)->Items(2)->ItemClicked(true);
        SubLinks(m)->Items(1)->ItemClicked(true);
    }

    std::vector<std::unique_ptr<TForm>> forms;
    QString dir;
    QString iniPath;
};

}  // namespace

TEST_F(LayoutStoreTest, RegistryRoundTripOfEveryValueInBothStyles)
{
    for (const QString& style : {u"bmsEnhanced"_s, u"bmsStandard"_s}) {
        SCOPED_TRACE(style.toStdString());
        TdxBarManager* a = Open({}, style);
        ChangeEverything(a);
        const QString path = kPath + style;
        a->SaveToRegistry(path);
        TdxBarManager* b = Open({}, style);
        ASSERT_NE(Layout(a), Layout(b));
        b->LoadFromRegistry(path);
        QStringList expected = Layout(a);
        if (style == u"bmsStandard"_s) {
            // Neither the recent-items options nor the usage values are kept.
            TdxBarManager* fresh = Open({}, style);
            expected[0] = QString("options 1 1 1 3 0 1");
            EXPECT_EQ(Layout(b)[0], expected[0]);
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey(path, false));
            EXPECT_FALSE(reg.ValueExists("MenusShowRecentItemsFirst"));
            ASSERT_TRUE(reg.OpenKey(path + "\\Bar1\\ItemLink2", false));
            EXPECT_FALSE(reg.ValueExists("UseCount"));
            EXPECT_FALSE(reg.ValueExists("RecentIndex"));
            (void)fresh;
        } else {
            EXPECT_EQ(Layout(b), expected);
        }
        // The links are the same in both styles; usage differs only in enhanced style.
        auto withoutUsage = [](QStringList l) {
            for (QString& s : l) s = s.section(" use=", 0, 0);
            return l;
        };
        EXPECT_EQ(withoutUsage(Layout(b)).mid(1), withoutUsage(Layout(a)).mid(1));
        forms.clear();
    }
}

TEST_F(LayoutStoreTest, IniRoundTripOfEveryValueExceptGlyphs)
{
    for (const QString& style : {u"bmsFlat"_s, u"bmsStandard"_s}) {
        SCOPED_TRACE(style.toStdString());
        QFile::remove(iniPath);
        TdxBarManager* a = Open({}, style);
        ChangeEverything(a);
        a->SaveToIniFile(iniPath);
        TdxBarManager* b = Open({}, style);
        b->LoadFromIniFile(iniPath);
        QStringList expected = Layout(a);
        // No user glyphs in an ini file: the override bit goes with it.
        for (QString& line : expected)
            if (line.contains("Open it")) line.replace("ud=7", "ud=5").replace("glyph=16x15", "glyph=0x0");
        if (style == u"bmsStandard"_s) {
            expected[0] = Layout(b)[0];
            EXPECT_TRUE(expected[0].startsWith("options 1 1 1 3 0 1"));
            for (QString& s : expected) s = s.section(" use=", 0, 0);
            QStringList got = Layout(b);
            for (QString& s : got) s = s.section(" use=", 0, 0);
            EXPECT_EQ(got, expected);
            const TMemIniFile ini(iniPath);
            EXPECT_FALSE(ini.ValueExists("StoreForm.BarManager1.Main", "ShowFullMenusAfterDelay"));
            EXPECT_FALSE(ini.ValueExists("StoreForm.BarManager1.Bar1.ItemLink2", "UseCount"));
        } else {
            EXPECT_EQ(Layout(b), expected);
        }
        forms.clear();
    }
}

TEST_F(LayoutStoreTest, TheManagerStoresWhenItsFormGoesAndRestoresWhenItLoads)
{
    for (const QString& store : {RegistryStore(), IniStore()}) {
        TdxBarManager* a = Open(store);
        ChangeEverything(a);
        QStringList saved = Layout(a);
        Close(a);
        TdxBarManager* b = Open(store);
        QStringList restored = Layout(b);
        if (store.contains("Ini"))
            for (QString& line : saved)
                if (line.contains("Open it")) line.replace("ud=7", "ud=5").replace("glyph=16x15", "glyph=0x0");
        EXPECT_EQ(restored, saved) << store.toStdString();
        forms.clear();
    }
}

TEST_F(LayoutStoreTest, LoadingIntoFormsWithFewerAndMoreBars)
{
    // A user's fourth bar comes back on a form that defines three.
    TdxBarManager* a = Open();
    TdxBar* custom = a->Bars()->Add();
    custom->SetCaption("Custom 1");
    custom->SetDockingStyle(dsBottom);
    custom->ItemLinks()->Add()->SetItem(a->ItemByName("btOpen"));
    custom->SetVisible(true);
    a->SaveToRegistry(kPath);
    TdxBarManager* b = Open();
    b->LoadFromRegistry(kPath);
    ASSERT_EQ(b->Bars()->Count(), 4);
    EXPECT_EQ(Bar(b, 3)->Caption(), "Custom 1");
    EXPECT_EQ(Bar(b, 3)->Name(), "Custom 1");
    EXPECT_EQ(Bar(b, 3)->DockingStyle(), dsBottom);
    EXPECT_TRUE(Bar(b, 3)->Visible());
    ASSERT_EQ(Links(b, 3)->Count(), 1);
    EXPECT_EQ(Links(b, 3)->Items(0)->Item()->Name(), "btOpen");

    // A layout of two bars leaves the form's third bar as the form made it.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kPath, false));
    reg.WriteInteger("BarCount", 2);
    reg.DeleteKey("Bar2");
    reg.DeleteKey("Bar3");
    TdxBarManager* c = Open();
    Bar(c, 0)->SetVisible(false);
    c->LoadFromRegistry(kPath);
    EXPECT_EQ(c->Bars()->Count(), 3);
    EXPECT_TRUE(Bar(c, 0)->Visible());
    EXPECT_EQ(Bar(c, 2)->Caption(), "Extra");
    EXPECT_TRUE(Bar(c, 2)->Visible());
    EXPECT_EQ(Bar(c, 2)->DockingStyle(), dsLeft);
}

TEST_F(LayoutStoreTest, SavingReplacesOnlyWhatTheStoreWrites)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", true));
    reg.WriteString("Custom1", "<b>");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Help", true));
    reg.WriteInteger("Left", 10);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Bar7\\ItemLink0", true));  // from a bigger layout
    reg.WriteString("ItemName", "btOpen");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\subitem_Old", true));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Barometer", true));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", true));
    reg.WriteInteger("Width", 800);

    TdxBarManager* m = Open();
    m->SaveToRegistry("Software\\Morvath\\");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", false));
    QStringList keys = reg.GetKeyNames();
    keys.sort();
    EXPECT_EQ(keys, QStringList({"Bar0", "Bar1", "Bar2", "Barometer", "Custom", "Help", "SubItem_siFile"}));
    EXPECT_EQ(reg.ReadInteger("Width"), 800);
    EXPECT_EQ(reg.ReadInteger("BarCount"), 3);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", false));
    EXPECT_EQ(reg.ReadString("Custom1"), "<b>");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Help", false));
    EXPECT_EQ(reg.ReadInteger("Left"), 10);

    // A path naming the root is no path: nothing is written there.
    for (const char* root : {"\\", "\\\\", "\\\\\\"}) {
        m->SaveToRegistry(root);
        ASSERT_TRUE(reg.OpenKey("\\", false));
        EXPECT_FALSE(reg.ValueExists("BarCount")) << root;
        EXPECT_FALSE(reg.KeyExists("\\Bar0")) << root;
    }
}

TEST_F(LayoutStoreTest, AFailedSaveLeavesTheOldLayout)
{
    TdxBarManager* m = Open();
    m->SaveToRegistry(kPath);
    m->SaveToIniFile(iniPath);
    Bar(m, 2)->SetCaption("Changed");
    {
        // The store's new file cannot take the old one's place.
        const TDurableWriteFault fault(TDurableStep::Rename, EACCES);
        EXPECT_THROW(m->SaveToRegistry(kPath), ERegistryException);
    }
    // The place the ini file's lock must take is held by a folder.
    QFile::remove(iniPath + ".lock");
    ASSERT_TRUE(QDir().mkpath(iniPath + ".lock"));
    EXPECT_THROW(m->SaveToIniFile(iniPath), std::exception);
    EXPECT_EQ(TMemIniFile(iniPath).ReadString("StoreForm.BarManager1.Bar2", "Caption", ""), "Extra");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kPath + "\\Bar2", false));
    EXPECT_EQ(reg.ReadString("Caption"), "Extra");
    EXPECT_EQ(reg.ReadInteger("ItemLinkCount"), 1);
}

TEST_F(LayoutStoreTest, TwoFormsShareOneIniFile)
{
    {
        TMemIniFile::Modify(iniPath, [](TMemIniFile& ini) {
            ini.WriteString("Other", "Keep", " me ");
            ini.WriteInteger("storeform.barmanager1.Bar9", "Row", 0);  // stale, another case
        });
    }
    TdxBarManager* x = Open({}, u"bmsFlat"_s, u"StoreForm"_s);
    TdxBarManager* y = Open({}, u"bmsFlat"_s, u"OtherForm"_s);
    Bar(x, 2)->SetCaption("X bar");
    Bar(y, 2)->SetCaption("Y bar");
    x->SaveToIniFile(iniPath);
    y->SaveToIniFile(iniPath);
    Bar(x, 2)->SetCaption("X again");
    x->SaveToIniFile(iniPath);

    const TMemIniFile ini(iniPath);
    EXPECT_EQ(ini.ReadString("Other", "Keep", ""), " me ");
    EXPECT_FALSE(ini.SectionExists("StoreForm.BarManager1.Bar9"));
    EXPECT_EQ(ini.ReadString("OtherForm.BarManager1.Bar2", "Caption", ""), "Y bar");
    EXPECT_EQ(ini.ReadString("StoreForm.BarManager1.Bar2", "Caption", ""), "X again");

    TdxBarManager* x2 = Open({}, u"bmsFlat"_s, u"StoreForm"_s);
    x2->LoadFromIniFile(iniPath);
    EXPECT_EQ(Bar(x2, 2)->Caption(), "X again");
    TdxBarManager* y2 = Open({}, u"bmsFlat"_s, u"OtherForm"_s);
    y2->LoadFromIniFile(iniPath);
    EXPECT_EQ(Bar(y2, 2)->Caption(), "Y bar");
}

TEST_F(LayoutStoreTest, IniTextCannotBreakOutOfItsLineAndIsReadVerbatim)
{
    TdxBarManager* a = Open();
    Bar(a, 2)->SetCaption(u"Evil\r\n[StoreForm.BarManager1.Bar0]\nRow=x\0end"_s);
    Links(a, 1)->Items(0)->SetUserCaption("  a = b  ");
    a->SaveToIniFile(iniPath);
    const TMemIniFile ini(iniPath);
    EXPECT_EQ(ini.ReadSections().count("StoreForm.BarManager1.Bar0"), 1);
    TdxBarManager* b = Open();
    b->LoadFromIniFile(iniPath);
    EXPECT_EQ(Bar(b, 2)->Caption(), u"Evil  [StoreForm.BarManager1.Bar0] Row=x end"_s);
    EXPECT_EQ(Links(b, 1)->Items(0)->UserCaption(), "  a = b  ");
    EXPECT_EQ(Bar(b, 0)->Caption(), "Menu");

    // Section names compare without case; a bar section without its row is ignored.
    QFile::remove(iniPath);
    TMemIniFile::Modify(iniPath, [](TMemIniFile& ini) {
        ini.WriteInteger("STOREFORM.barmanager1.main", "BarCount", 3);
        ini.WriteInteger("storeform.BARMANAGER1.bar1", "Row", 4);
        ini.WriteString("storeform.BARMANAGER1.bar1", "Caption", "Lower");
        ini.WriteString("storeform.BARMANAGER1.bar2", "Caption", "No row");
    });
    TdxBarManager* c = Open();
    c->LoadFromIniFile(iniPath);
    EXPECT_EQ(Bar(c, 1)->Caption(), "Lower");
    EXPECT_EQ(Bar(c, 1)->Row(), 4);
    EXPECT_FALSE(Bar(c, 1)->Visible());  // a bar section's visibility defaults to hidden
    EXPECT_EQ(Bar(c, 2)->Caption(), "Extra");
    EXPECT_TRUE(Bar(c, 2)->Visible());
}

// Writes a damaged layout below kPath.
class DamagedLayoutTest : public LayoutStoreTest {
protected:
    TRegistry reg;
    void Key(const QString& sub) { ASSERT_TRUE(reg.OpenKey(kPath + sub, true)); }
};

TEST_F(DamagedLayoutTest, HostileCountsApplyOnlyStoredKeysInOrder)
{
    Key("");
    reg.WriteInteger("BarCount", 0x7fffffff);
    for (const char* k : {"\\Bar0", "\\Bar1", "\\Bar2", "\\Bar7"}) {
        Key(k);
        reg.WriteString("Caption", QString("Stored ") + k);
    }
    Key("\\Bar1");
    reg.WriteInteger("ItemLinkCount", 0x7fffffff);
    Key("\\Bar1\\ItemLink3");
    reg.WriteString("ItemName", "btSave");
    Key("\\Bar1\\ItemLink9000");
    reg.WriteString("ItemName", "BTOPEN");
    Key("\\Bar1\\ItemLink9001");
    reg.WriteString("ItemName", "deleted item");
    TdxBarManager* m = Open();
    m->LoadFromRegistry(kPath);
    ASSERT_EQ(m->Bars()->Count(), 4);
    EXPECT_EQ(Bar(m, 3)->Caption(), "Stored \\Bar7");
    ASSERT_EQ(Links(m, 1)->Count(), 2);
    EXPECT_EQ(Links(m, 1)->Items(0)->Item()->Name(), "btSave");
    EXPECT_EQ(Links(m, 1)->Items(1)->Item()->Name(), "btOpen");

    // A negative count reads no bar at all.
    Key("");
    reg.WriteInteger("BarCount", -3);
    TdxBarManager* n = Open();
    n->LoadFromRegistry(kPath);
    EXPECT_EQ(Layout(n), Layout(Open()));
}

TEST_F(DamagedLayoutTest, OutOfRangeValuesAreIgnoredOrClampedAndWrongTypesAreAbsent)
{
    Key("");
    reg.WriteInteger("BarCount", 3);
    reg.WriteInteger("MenuAnimations", 7);
    reg.WriteString("ShowHint", "0");  // wrong type: absent
    Key("\\Bar2");
    reg.WriteInteger("DockingStyle", 9);
    reg.WriteInteger("DockedDockingStyle", -1);
    reg.WriteInteger("DockedLeft", 99999);
    reg.WriteInteger("DockedTop", -99999);
    reg.WriteInteger("FloatLeft", -99999);
    reg.WriteInteger("FloatTop", 0x7fffffff);
    reg.WriteInteger("FloatClientWidth", -5);
    reg.WriteInteger("FloatClientHeight", 40000);
    reg.WriteInteger("Row", 70000);
    reg.WriteString("Visible", "0");
    reg.WriteInteger("Caption", 5);
    reg.WriteString("DockControl", "btOpen");       // no dock control
    reg.WriteString("DockedDockControl", "DockC");  // a dock control of no manager
    reg.WriteInteger("ItemLinkCount", 1);
    Key("\\Bar2\\ItemLink0");
    reg.WriteString("ItemName", "edPath");
    reg.WriteBinaryData("UserDefine", QByteArray(1, char(0xFC)));  // glyph, paint style, width + junk
    reg.WriteBinaryData("UserGlyph", QByteArray("not an image"));
    reg.WriteInteger("UserPaintStyle", 12);
    reg.WriteInteger("UserWidth", 5000);
    reg.WriteInteger("UseCount", 5000000);
    reg.WriteInteger("RecentIndex", 0);
    TdxBarManager* m = Open();
    m->LoadFromRegistry(kPath);
    EXPECT_EQ(m->MenuAnimations(), maNone);
    EXPECT_TRUE(m->ShowHint());
    TdxBar* b = Bar(m, 2);
    EXPECT_EQ(b->Caption(), "Extra");
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(b->DockingStyle(), dsLeft);
    EXPECT_EQ(b->DockControl(), nullptr);
    EXPECT_EQ(b->DockedDockControl(), nullptr);
    EXPECT_EQ(b->DockedDockingStyle(), dsTop);
    EXPECT_EQ(b->DockedLeft(), 32767);
    EXPECT_EQ(b->DockedTop(), 0);
    EXPECT_EQ(b->FloatLeft(), -32767);
    EXPECT_EQ(b->FloatTop(), 32767);
    EXPECT_EQ(b->FloatClientWidth(), 0);
    EXPECT_EQ(b->FloatClientHeight(), 32767);
    EXPECT_EQ(b->Row(), 32767);
    ASSERT_EQ(b->ItemLinks()->Count(), 1);
    TdxBarItemLink* l = b->ItemLinks()->Items(0);
    EXPECT_EQ(l->UserDefine(), TdxBarUserDefines(udWidth));
    EXPECT_EQ(l->UserWidth(), 600);
    EXPECT_EQ(l->UseCount(), 1000000);
}

TEST_F(DamagedLayoutTest, DockControlsAndCaptionsAreTakenAsStored)
{
    Key("");
    reg.WriteInteger("BarCount", 3);
    Key("\\Bar0");  // no state of its own: the main menu stays as the form made it
    Key("\\Bar1");
    reg.WriteString("Caption", "Extra");
    reg.WriteString("DockControl", "DockB");
    reg.WriteInteger("DockingStyle", int(dsTop));  // DockB sits at the bottom now
    Key("\\Bar2");
    reg.WriteString("Caption", "Tools");
    reg.WriteInteger("Visible", 0);
    TdxBarManager* m = Open();
    m->LoadFromRegistry(kPath);
    EXPECT_TRUE(Bar(m, 0)->Visible());
    EXPECT_EQ(Bar(m, 0)->Caption(), "Menu");
    EXPECT_EQ(Bar(m, 1)->Caption(), "Extra");
    EXPECT_EQ(Bar(m, 2)->Caption(), "Tools");
    ASSERT_NE(Bar(m, 1)->DockControl(), nullptr);
    EXPECT_EQ(Bar(m, 1)->DockControl()->Name(), "DockB");
    EXPECT_EQ(Bar(m, 1)->DockingStyle(), dsBottom);
    EXPECT_FALSE(Bar(m, 2)->Visible());

    // Only a true duplicate gets a number: here of the caption the main menu keeps.
    Key("\\Bar1");
    reg.WriteString("Caption", "Menu");
    TdxBarManager* n = Open();
    n->LoadFromRegistry(kPath);
    EXPECT_EQ(Bar(n, 0)->Caption(), "Menu");
    EXPECT_EQ(Bar(n, 1)->Caption(), "Menu1");
    EXPECT_EQ(Bar(n, 2)->Caption(), "Tools");
}

TEST_F(LayoutStoreTest, LinksOfAnotherManagersItemsAreNotSaved)
{
    TdxBarManager* a = Open();
    TdxBarManager* other = Open({}, u"bmsEnhanced"_s, u"OtherForm"_s);
    TdxBarItemLink* foreign = Links(a, 2)->Add();
    foreign->SetItem(other->ItemByName("btOpen"));
    ASSERT_EQ(Links(a, 2)->Count(), 2);
    a->SaveToRegistry(kPath);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kPath + "\\Bar2", false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList({"ItemLink0"}));
}

namespace {

class RecordingManager : public TdxBarManager {
public:
    explicit RecordingManager(TComponent* owner) : TdxBarManager(owner) {}
    void SaveLayoutOnFormDestroy() override
    {
        customizingWhenSaved = IsCustomizing();
        ++saves;
    }
    static inline bool customizingWhenSaved = true;
    static inline int saves = 0;
};

}  // namespace

TEST_F(LayoutStoreTest, TheFormsDestructionEndsCustomizingBeforeTheLayoutIsStored)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* m = Create<RecordingManager>(form.get());
    m->SetIsCustomizing(true);
    form.reset();
    EXPECT_EQ(RecordingManager::saves, 1);
    EXPECT_FALSE(RecordingManager::customizingWhenSaved);
}
