#include "DurableFile.h"
#include "Registry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <thread>

namespace {

using testsupport::FileBytes;
using testsupport::PutFileBytes;

// Each test gets a store file of its own.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = testsupport::TempDir() + "/registry-" + info->name() + "/registry.json";
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
    }
    QString path;
};

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST_F(RegistryTest, TypedValuesAndWrongTypeReads)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", true));
    reg.WriteInteger("Width", -5);
    reg.WriteBool("Maximized", true);
    reg.WriteString("Caption", QStringLiteral("Tool \u00e9"));
    reg.WriteBinaryData("UserDefine", QByteArray("\x05\x00", 2));
    reg.WriteInteger("Odd", 7);

    EXPECT_EQ(reg.ReadInteger("Width"), -5);
    EXPECT_TRUE(reg.ReadBool("Maximized"));
    EXPECT_TRUE(reg.ReadBool("Odd"));  // any non-zero DWORD is true
    EXPECT_EQ(reg.ReadInteger("Maximized"), 1);
    EXPECT_EQ(reg.ReadString("Caption"), QStringLiteral("Tool \u00e9"));
    EXPECT_EQ(reg.ReadBinaryData("UserDefine"), QByteArray("\x05\x00", 2));

    EXPECT_EQ(reg.GetDataType("Width"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Caption"), rdString);
    EXPECT_EQ(reg.GetDataType("UserDefine"), rdBinary);
    EXPECT_EQ(reg.GetDataType("Nothing"), rdUnknown);
    EXPECT_EQ(reg.GetDataSize("Width"), 4);
    EXPECT_EQ(reg.GetDataSize("UserDefine"), 2);
    EXPECT_EQ(reg.GetDataSize("Nothing"), -1);

    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Caption"); }), "Invalid data type for 'Caption'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadString("Width"); }), "Invalid data type for 'Width'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Width"); }), "Invalid data type for 'Width'");
    EXPECT_THROW(reg.ReadBool("Nothing"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Nothing"), ERegistryException);

    // A rewrite may change the type.
    reg.WriteString("Width", "wide");
    EXPECT_EQ(reg.ReadString("Width"), "wide");
}

TEST_F(RegistryTest, RelativeAndAbsolutePaths)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("Software\\Morvath\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Morvath");
    ASSERT_TRUE(reg.OpenKey("Toolbars\\Bar0", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Morvath\\Toolbars\\Bar0");
    EXPECT_TRUE(reg.KeyExists("\\Software\\Morvath\\Toolbars"));
    EXPECT_FALSE(reg.KeyExists("Toolbars"));  // would be ...\Bar0\Toolbars

    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
    EXPECT_EQ(reg.GetKeyNames(), QStringList{"Morvath"});
    EXPECT_TRUE(reg.HasSubKeys());

    EXPECT_FALSE(reg.OpenKey("\\Software\\Missing", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");  // a failed open keeps the open key
    EXPECT_FALSE(s.KeyExists({"Software", "Missing"}));
    EXPECT_FALSE(reg.OpenKey("a\\\\b", true));
    EXPECT_FALSE(s.KeyExists({"Software", "a"}));

    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    reg.WriteInteger("AtRoot", 1);  // with no key open, values live at the root
    EXPECT_TRUE(s.Value({}, "AtRoot").has_value());
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirCase)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", true));
    reg.WriteInteger("SplitLeft", 120);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\morvath", false));
    EXPECT_EQ(reg.ReadInteger("splitleft"), 120);
    reg.WriteInteger("SPLITLEFT", 130);
    EXPECT_EQ(reg.GetValueNames(), QStringList{"SplitLeft"});
    EXPECT_EQ(reg.ReadInteger("SplitLeft"), 130);
    ASSERT_TRUE(reg.OpenKey("\\software", false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{"Morvath"});
}

TEST_F(RegistryTest, DeletesAreRecursiveAndReportWhetherAnythingWent)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\T\\Bar0\\ItemLink0", true));
    reg.WriteString("ItemName", "btNew");
    ASSERT_TRUE(reg.OpenKey("\\T\\Bar1", true));
    reg.WriteInteger("Row", 1);
    EXPECT_TRUE(reg.DeleteValue("Row"));
    EXPECT_FALSE(reg.DeleteValue("Row"));
    EXPECT_FALSE(reg.ValueExists("Row"));

    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("\\t\\bar0"));
    EXPECT_FALSE(reg.KeyExists("\\T\\Bar0\\ItemLink0"));
    EXPECT_FALSE(reg.KeyExists("\\T\\Bar0"));
    EXPECT_TRUE(reg.KeyExists("\\T\\Bar1"));
    EXPECT_FALSE(reg.DeleteKey("\\T\\Bar0"));
    EXPECT_FALSE(reg.DeleteKey("\\"));  // the root stays

    // Writing into a key that was deleted under an open TRegistry fails loudly.
    ASSERT_TRUE(reg.OpenKey("\\T\\Bar1", false));
    TRegistry other(&s);
    EXPECT_TRUE(other.DeleteKey("\\T"));
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("Row", 2); }), "Failed to set data for 'Row'");
}

TEST_F(RegistryTest, ReadOnlyAccessAndOtherRoots)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software"));
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    reg.WriteInteger("A", 1);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software"));
    EXPECT_EQ(reg.ReadInteger("A"), 1);
    EXPECT_THROW(reg.WriteInteger("A", 2), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("A"));

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.OpenKey("\\Software", true));
    EXPECT_FALSE(reg.KeyExists("\\Software"));
    EXPECT_TRUE(reg.OpenKey("\\", false));
    EXPECT_TRUE(reg.GetKeyNames().isEmpty());
    EXPECT_THROW(reg.WriteInteger("A", 1), ERegistryException);
}

TEST_F(RegistryTest, TwoProgramsSeeEachOthersChanges)
{
    TRegistryStore first(path), second(path);
    TRegistry a(&first), b(&second);
    ASSERT_TRUE(a.OpenKey("\\Software\\Morvath", true));
    ASSERT_TRUE(b.OpenKey("\\Software\\Morvath", false));
    a.WriteInteger("Width", 800);
    EXPECT_EQ(b.ReadInteger("Width"), 800);
    b.WriteBinaryData("Glyph", QByteArray::fromHex("00ff10"));
    a.WriteString("Caption", "x");  // must not lose b's write
    EXPECT_EQ(a.ReadBinaryData("Glyph"), QByteArray::fromHex("00ff10"));
    EXPECT_EQ(b.ReadString("Caption"), "x");
    const QString tricky = QStringLiteral("\"q\" \\ \n\t\x01 \u00e9 \U0001D11E </a>");
    b.WriteString(tricky, tricky);  // goes through the file to the other store
    EXPECT_EQ(a.ReadString(tricky), tricky);
    for (int i = 0; i < 20; ++i) {  // quick alternation: every change is seen at once
        a.WriteInteger("Counter", i);
        ASSERT_EQ(b.ReadInteger("Counter"), i);
    }
    EXPECT_TRUE(b.DeleteKey("\\Software"));
    EXPECT_FALSE(a.KeyExists("\\Software\\Morvath"));
    EXPECT_FALSE(a.ValueExists("Width"));
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing)
{
    auto writer = [this](const QString& prefix) {
        TRegistryStore own(path);
        TRegistry reg(&own);
        for (int i = 0; i < 40; ++i) {
            reg.OpenKey("\\Shared", true);
            reg.WriteInteger(prefix + QString::number(i), i);
        }
    };
    std::thread first(writer, QStringLiteral("a")), second(writer, QStringLiteral("b"));
    first.join();
    second.join();
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\Shared", false));
    EXPECT_EQ(reg.GetValueNames().size(), 80);
}

TEST_F(RegistryTest, CorruptStoreReadsAsEmptyAndIsReplacedKeepingACopy)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    for (const QByteArray& junk : {QByteArray("{not json"), QByteArray("[1,2]"), QByteArray("\0\xff", 2)}) {
        QFile::remove(path + ".bad");
        QFile::remove(path + ".previous");  // no store read whole before: nothing to fall back on
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(junk);
        f.close();

        TRegistryStore s(path);
        TRegistry reg(&s);
        EXPECT_FALSE(reg.OpenKey("\\Software", false));
        EXPECT_TRUE(reg.GetKeyNames().isEmpty());
        ASSERT_TRUE(reg.OpenKey("\\Software", true));
        reg.WriteInteger("A", 1);

        QFile bad(path + ".bad");
        ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
        EXPECT_EQ(bad.readAll(), junk);
        TRegistryStore fresh(path);
        EXPECT_EQ(TRegistry(&fresh).KeyExists("\\Software"), true);
    }
}

TEST_F(RegistryTest, MalformedEntriesAreSkippedNotFatal)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"format": "vesk-registry", "version": 1, "root": {"keys": {"K": {"values": {
        "Good": {"type": "REG_DWORD", "data": 4294967295},
        "Negative": {"type": "REG_DWORD", "data": -1},
        "Fraction": {"type": "REG_DWORD", "data": 1.5},
        "NoType": {"data": "x"},
        "Text": {"type": "REG_SZ", "data": 3}}}}}})");
    f.close();
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    EXPECT_EQ(reg.GetValueNames(), QStringList{"Good"});
    EXPECT_EQ(reg.ReadInteger("Good"), -1);
}

TEST_F(RegistryTest, UnwritableStoreRaisesAndDefaultStoreFollowsTheHook)
{
    // The store's folder would have to be a regular file: it cannot be created.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile blocker(QFileInfo(path).absolutePath() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TRegistryStore broken(blocker.fileName() + "/registry.json");
    TRegistry reg(&broken);
    EXPECT_THROW(reg.OpenKey("\\Software", true), ERegistryException);
    EXPECT_TRUE(reg.OpenKey("\\", false));
    EXPECT_THROW(reg.WriteInteger("A", 1), ERegistryException);

    EXPECT_TRUE(TRegistryStore::DefaultFilePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + "/"));
    TRegistryStore::SetDefaultFileForTesting(path);
    TRegistry def;
    ASSERT_TRUE(def.OpenKey("\\Software", true));
    def.WriteInteger("A", 1);
    EXPECT_TRUE(QFile::exists(path));
    TRegistryStore::SetDefaultFileForTesting(QString());
    EXPECT_EQ(TRegistryStore::Default().FilePath(), TRegistryStore::DefaultFilePath());
}

TEST_F(RegistryTest, KeyTreesAreReadAndReplacedAsOneChange)
{
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", true));
    reg.WriteString("Custom1", "x");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Old", true));
    reg.WriteInteger("Stale", 1);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", true));
    reg.WriteInteger("Width", 5);
    reg.WriteInteger("Count", 1);

    TRegKeyData content;
    content.values.push_back(TRegValue{"Count", rdInteger, 2, {}, {}});
    TRegKeyData old;
    old.name = "OLD";
    old.values.push_back(TRegValue{"Fresh", rdString, 0, "new", {}});
    content.keys.push_back(old);
    reg.ReplaceKeyTree(
        "\\Software\\Morvath\\", [](const QString& name) { return name == "Old"; }, content);

    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath", false));
    EXPECT_EQ(reg.ReadInteger("Width"), 5);
    EXPECT_EQ(reg.ReadInteger("Count"), 2);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Old", false));
    EXPECT_EQ(reg.GetValueNames(), QStringList({"Fresh"}));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", false));
    EXPECT_EQ(reg.ReadString("Custom1"), "x");

    // Another process's store sees the whole change.
    TRegistryStore other(path);
    const std::optional<TRegKeyData> tree = TRegistry(&other).ReadKeyTree("\\Software\\Morvath");
    ASSERT_TRUE(tree.has_value());
    EXPECT_EQ(tree->keys.size(), 2u);
    EXPECT_EQ(tree->values.size(), 2u);
    EXPECT_FALSE(TRegistry(&other).ReadKeyTree("\\Software\\Nothing").has_value());
    TRegistry other2(&other);
    other2.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(other2.ReadKeyTree("\\").has_value());
    EXPECT_THROW(other2.ReplaceKeyTree("\\Software", {}, content), ERegistryException);
}

TEST_F(RegistryTest, LoneSurrogatesInNamesAndDataSurviveTheFile)
{
    const QString loneHigh = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    const QString loneLow = QString(QChar(0xDC00)) + QStringLiteral("\u00e9\U0001D11E") + QChar(0xDBFF);
    {
        TRegistryStore store(path);
        TRegistry reg(&store);
        ASSERT_TRUE(reg.OpenKey("\\Software\\" + loneLow, true));
        reg.WriteString(loneHigh, loneLow);
        reg.WriteString("Other", "x");  // a second write rewrites the file with the first value in it
    }
    TRegistryStore fresh(path);  // reads the file anew
    TRegistry reg(&fresh);
    ASSERT_TRUE(reg.OpenKey("\\Software\\" + loneLow, false));
    EXPECT_EQ(reg.ReadString(loneHigh), loneLow);
    EXPECT_EQ(reg.GetValueNames(), QStringList({loneHigh, "Other"}));
}

TEST_F(RegistryTest, ADamagedStoreComesBackWithTheLastOneReadWholeAndEveryDamagedCopyIsKept)
{
    const auto write = [&](const QString& name, int value) {
        TRegistryStore s(path);
        TRegistry reg(&s);
        ASSERT_TRUE(reg.OpenKey("\\Software", true));
        reg.WriteInteger(name, value);
    };
    const auto read = [&](const QString& name) {
        TRegistryStore s(path);
        TRegistry reg(&s);
        return reg.OpenKey("\\Software", false) && reg.ValueExists(name) ? reg.ReadInteger(name) : -1;
    };
    const auto copy = [&](int i) { return path + ".bad" + (i == 0 ? QString() : "." + QString::number(i)); };

    // Damages of every kind, one after another: junk, a store cut short, an empty file.
    QList<QByteArray> damages;
    for (int round = 0; round < 9; ++round) {
        SCOPED_TRACE(round);
        write("Round", round);
        write("Other", round);  // the store with Round read whole is replaced: it is the one kept
        const QByteArray whole = FileBytes(path);
        const QByteArray damage = round % 3 == 0   ? "{damaged " + QByteArray::number(round)
                                  : round % 3 == 1 ? whole.left(whole.size() / 2)
                                                   : QByteArray();
        PutFileBytes(path, damage);
        damages.prepend(damage);

        EXPECT_EQ(read("Round"), round);
        write("Next", round);  // the first change keeps the damaged store aside
        EXPECT_EQ(read("Round"), round);
        EXPECT_EQ(read("Next"), round);
        // The copies kept, newest first, are the latest damages: none was written over.
        int kept = 0;
        while (QFile::exists(copy(kept))) ++kept;
        EXPECT_GE(kept, std::min<int>(damages.size(), 3));
        for (int i = 0; i < kept; ++i) EXPECT_EQ(FileBytes(copy(i)), damages[i]) << i;
    }
    EXPECT_FALSE(QFile::exists(copy(damages.size() - 1)));  // the oldest go

    // A store that is missing was removed on purpose: it starts empty.
    QFile::remove(path);
    EXPECT_EQ(read("Round"), -1);
}

TEST_F(RegistryTest, AStoreWriteIsFlushedAndAFailedFlushRaises)
{
    struct Case {
        const char* name;
        TDurableStep step;
        bool oldStoreKept;
    };
    const Case cases[] = {
        {"the file's flush", TDurableStep::Sync, true},
        {"the folder's flush", TDurableStep::SyncFolder, false},
    };
    TRegistryStore s(path);
    TRegistry reg(&s);
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reg.WriteInteger("A", 1);
        {
            const TDurableWriteFault fault(c.step, EIO);
            EXPECT_THROW(reg.WriteInteger("A", 2), ERegistryException);
        }
        TRegistryStore fresh(path);
        TRegistry other(&fresh);
        ASSERT_TRUE(other.OpenKey("\\Software", false));
        EXPECT_EQ(other.ReadInteger("A"), c.oldStoreKept ? 1 : 2);
        EXPECT_EQ(reg.ReadInteger("A"), other.ReadInteger("A"));  // the tree follows the file
    }
}
