// Runs the layout store's fuzz entry point over a fixed set of inputs made from the
// editor's own stored layout, so the sanitizer build of the suite exercises it each run.
#include "LayoutFuzz.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

// Inputs per format; VESK_LAYOUT_FUZZ_RUNS asks for a longer run.
int Runs()
{
    const int asked = qEnvironmentVariableIntValue("VESK_LAYOUT_FUZZ_RUNS");
    return asked > 0 ? asked : 150;
}

int Hostile(std::mt19937& rng)
{
    static const int values[] = {-1,
                                 0,
                                 1,
                                 2,
                                 3,
                                 4,
                                 5,
                                 9,
                                 255,
                                 999,
                                 -999,
                                 -1000,
                                 32767,
                                 32768,
                                 -32768,
                                 1000000,
                                 1000001,
                                 2147483647,
                                 int(0x80000000u)};
    return rng() % 3 ? values[rng() % std::size(values)] : int(rng());
}

QString HostileName(std::mt19937& rng)
{
    static const char* names[] = {"DockControl1", "DockControl2", "BarManager", "btNew",  "miFile",
                                  "ImageList",    "Panel1",       "",           "Bar0",   "Menu",
                                  "Toolbar",      "\r\n[x]",      "btheadtags", "nothing"};
    return QString::fromUtf8(names[rng() % std::size(names)]);
}

// The registry file: values get other numbers, types and names; keys vanish, move or
// repeat under other names.
QJsonObject MutateKey(QJsonObject key, std::mt19937& rng, int depth)
{
    QJsonObject values = key.value("values").toObject();
    for (const QString& name : values.keys()) {
        if (rng() % 6) continue;
        switch (rng() % 5) {
        case 0: values.remove(name); break;
        case 1: values[name] = QJsonObject{{"type", "REG_DWORD"}, {"data", double(quint32(Hostile(rng)))}}; break;
        case 2: values[name] = QJsonObject{{"type", "REG_SZ"}, {"data", HostileName(rng)}}; break;
        case 3: values[name] = QJsonObject{{"type", "REG_BINARY"}, {"data", QString::number(rng(), 16)}}; break;
        default: values[name] = QJsonObject{{"type", "REG_WEIRD"}, {"data", QJsonArray{1}}}; break;
        }
    }
    key["values"] = values;
    QJsonObject keys = key.value("keys").toObject();
    for (const QString& name : keys.keys()) {
        const int roll = int(rng() % 12);
        if (roll == 0) {
            keys.remove(name);
        } else if (roll == 1) {
            keys[name.left(name.size() - 1) + QString::number(rng() % 12)] = keys.take(name);
        } else if (depth < 2) {
            keys[name] = MutateKey(keys.value(name).toObject(), rng, depth + 1);
        }
    }
    key["keys"] = keys;
    return key;
}

QByteArray RegistryInput(const QByteArray& seed, std::mt19937& rng)
{
    QJsonObject doc = QJsonDocument::fromJson(seed).object();
    QJsonObject root = doc["root"].toObject();
    QJsonObject software = root["keys"].toObject()["Software"].toObject();
    QJsonObject morvath = software["keys"].toObject()["Morvath"].toObject();
    QJsonObject keys = morvath["keys"].toObject();
    keys["Toolbars"] = MutateKey(keys["Toolbars"].toObject(), rng, 0);
    morvath["keys"] = keys;
    QJsonObject softwareKeys = software["keys"].toObject();
    softwareKeys["Morvath"] = morvath;
    software["keys"] = softwareKeys;
    QJsonObject rootKeys = root["keys"].toObject();
    rootKeys["Software"] = software;
    root["keys"] = rootKeys;
    doc["root"] = root;
    QByteArray bytes = QJsonDocument(doc).toJson();
    if (rng() % 10 == 0) bytes[rng() % bytes.size()] = char(rng());  // now and then not JSON at all
    return bytes;
}

// The ini file: lines vanish, repeat, change case or take other values.
QByteArray IniInput(const QByteArray& seed, std::mt19937& rng)
{
    QStringList lines = QString::fromUtf8(seed).split("\r\n");
    QStringList out;
    for (const QString& line : lines) {
        const int roll = int(rng() % 40);
        if (roll == 0) continue;
        if (roll == 1)
            out << line << line;
        else if (roll == 2)
            out << line.toLower();
        else if (roll == 3 && line.contains('='))
            out << line.section('=', 0, 0) + "=" + QString::number(Hostile(rng));
        else if (roll == 4 && line.contains('='))
            out << line.section('=', 0, 0) + "=" + HostileName(rng);
        else if (roll == 5)
            out << line + QChar(char16_t(rng() & 0xffff));
        else
            out << line;
    }
    QByteArray bytes = out.join(rng() % 2 ? "\r\n" : "\n").toUtf8();
    if (rng() % 10 == 0 && !bytes.isEmpty()) bytes[rng() % bytes.size()] = char(rng());
    return bytes;
}

using TEntry = const char* (*)(TLayoutFuzzFormat, const std::uint8_t*, std::size_t);

void RunInput(TEntry entry, TLayoutFuzzFormat format, const QByteArray& input, int i)
{
    const char* failure =
        entry(format, reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    ASSERT_EQ(failure, nullptr) << failure << " (input " << i << ")";
}

// The seed itself, then the generated inputs, each on a form of its own and then on one
// form kept from input to input as the long runs do; prints how fast they ran.
template <class Generate>
void RunAll(TLayoutFuzzFormat format, const QByteArray& seed, std::uint32_t rngSeed, Generate generate)
{
    RunInput(LayoutFuzzOneInputChecked, format, seed, -1);
    std::mt19937 rng(rngSeed);
    for (TEntry entry : {LayoutFuzzOneInputChecked, LayoutFuzzOneInputWarm}) {
        const auto start = std::chrono::steady_clock::now();
        const int n = Runs();
        for (int i = 0; i < n && !::testing::Test::HasFatalFailure(); ++i)
            RunInput(entry, format, generate(seed, rng), i);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%d inputs in %.1f s: %.1f executions/s\n", n, seconds, n / seconds);
    }
    LayoutFuzzEndWarm();
}

}  // namespace

TEST(BarLayoutFuzz, RegistryFilesLoadedIntoTheEditorsForm)
{
    const QByteArray seed = LayoutFuzzSeed(TLayoutFuzzFormat::Registry);
    ASSERT_TRUE(seed.contains("\"BarCount\""));
    RunAll(TLayoutFuzzFormat::Registry, seed, 20261209u, RegistryInput);
}

TEST(BarLayoutFuzz, IniFilesLoadedIntoTheEditorsForm)
{
    const QByteArray seed = LayoutFuzzSeed(TLayoutFuzzFormat::Ini);
    ASSERT_TRUE(seed.contains("[frmMain.BarManager.Bar4]"));
    RunAll(TLayoutFuzzFormat::Ini, seed, 20261210u, IniInput);
}
