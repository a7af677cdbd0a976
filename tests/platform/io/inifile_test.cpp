#include "IniFiles.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = testsupport::TempDir() + "/ini-" + info->name();
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        path = dir + "/settings.ini";
    }
    QString dir, path;
};

}  // namespace

TEST_F(IniFileTest, ReadsSectionsAndEntriesWithoutCaseAndValuesVerbatim)
{
    const TMemIniFile ini = TMemIniFile::FromText(
        u"; leading comment\n[Main]\n  Caption = a=b  \nCount=$1F\nNeg= -12 \nBig=99999999999\nBad=12x\n"
        "[main]\nCaption=second\n[ Other ]\n; note\nFlag=1\n"_s);
    EXPECT_EQ(ini.ReadSections(), QStringList({"Main", "main", " Other "}));
    EXPECT_TRUE(ini.SectionExists("MAIN"));
    EXPECT_EQ(ini.ReadString("MAIN", "caption", "?"), " a=b  ");  // the first section of a name wins
    EXPECT_EQ(ini.ReadInteger("Main", "Count", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Main", "Neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("Main", "Big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Main", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Main", "Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool(" other ", "flag", false));
    EXPECT_FALSE(ini.ValueExists("Main", "; leading comment"));
    EXPECT_EQ(TMemIniFile::ParseInteger("0x10"), 16);
    EXPECT_EQ(TMemIniFile::ParseInteger("--1"), std::nullopt);
    EXPECT_EQ(TMemIniFile::ParseInteger("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(TMemIniFile::ParseInteger("2147483648"), std::nullopt);
}

TEST_F(IniFileTest, WritesKeepOtherLinesAndCannotOpenSectionsOrEntries)
{
    TMemIniFile ini = TMemIniFile::FromText(u"top line\n[A]\n; comment\nx=1\n[B]\ny=2\n[b]\nz=3\n"_s);
    ini.WriteString("a", "X", u"one\r\n[B]\nz=9\0tail"_s);
    ini.WriteInteger("New", "n", -4);
    ini.EraseSection("B");
    EXPECT_EQ(ini.Lines(), QStringList({"top line", "[A]", "; comment", "x=one  [B] z=9 tail", "[New]", "n=-4"}));
    EXPECT_EQ(TMemIniFile::FromText(ini.Lines().join("\r\n")).ReadSections(), QStringList({"A", "New"}));
}

TEST_F(IniFileTest, ModifyReadsAfreshAndWritesTheFileBack)
{
    TMemIniFile::Modify(path, [](TMemIniFile& ini) { ini.WriteString("S", "a", "1"); });
    TMemIniFile::Modify(path, [](TMemIniFile& ini) { ini.WriteString("S", "b", "2"); });
    EXPECT_EQ(ReadTextFile(path).Lines(), QStringList({"[S]", "a=1", "b=2"}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[S]\r\na=1\r\nb=2\r\n"));
    // A change that fails leaves the file as it was.
    EXPECT_THROW(TMemIniFile::Modify(path,
                                     [](TMemIniFile& ini) {
                                         ini.WriteString("S", "c", "3");
                                         throw Exception("stop");
                                     }),
                 Exception);
    EXPECT_EQ(TMemIniFile(path).ReadString("S", "c", "none"), "none");
}

TEST_F(IniFileTest, SettingsStayUtf8AndOtherBytesSurviveAWrite)
{
    // Settings are not documents: a byte out of place stays that byte, and the text written
    // beside it stays UTF-8.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Old]\r\nname=caf\xE9\r\n");
    }
    TMemIniFile::Modify(path, [](TMemIniFile& ini) { ini.WriteString("New", "name", u"caf\u00E9 \u0101"_s); });
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Old]\r\nname=caf\xE9\r\n[New]\r\nname=caf\xC3\xA9 \xC4\x81\r\n"));
}

// Each writer adds to a counter many times: without the lock over read-modify-write, some
// increments would read a stale file and get lost. flock locks separate opens of the lock
// file alike whether they come from threads or from processes.
TEST_F(IniFileTest, ConcurrentReadModifyWritesAreSerialised)
{
    constexpr int kWriters = 4, kRounds = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i)
                TMemIniFile::Modify(path, [](TMemIniFile& ini) {
                    ini.WriteInteger("Count", "n", ini.ReadInteger("Count", "n", 0) + 1);
                });
        });
    for (std::thread& t : writers) t.join();
    EXPECT_EQ(TMemIniFile(path).ReadInteger("Count", "n", 0), kWriters * kRounds);
}
