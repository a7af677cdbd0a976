#pragma once
// The bar layout store: a manager's personal options, its bars' docking, positions, sizes
// and visibility, and the item links of its bars and sub items with their user overrides
// and usage data, written to and read from the registry or an ini file.
//
// Registry: below the path, the options as values, "BarCount", a key "Bar<i>" per bar
// (its links in "ItemLink<j>" subkeys) and a key "SubItem_<name>" per named sub item.
// Ini file: the same, as sections named "<form>.<manager>.Main", "<form>.<manager>.Bar<i>",
// "<form>.<manager>.Bar<i>.ItemLink<j>", ... (no user glyphs).
//
// The stored data may have been damaged by a user, another program or a crash: reading
// never throws, applies only what is there and of the right type, clamps numbers, ignores
// enumerations out of range, and leaves bars without stored state as the form made them.
// Writing replaces only what the store itself writes, as one change.
#include "RegistryStore.h"

#include <QString>

class TMemIniFile;
class TdxBarManager;

class TdxBarLayoutStore {
public:
    explicit TdxBarLayoutStore(TdxBarManager* manager) : manager_(manager) {}

    // Registry paths: "" (or a path naming the root) does nothing; a missing leading "\" is
    // added and one trailing "\" dropped. Saving raises when the store cannot be written.
    void SaveToRegistry(const QString& path) const;
    void LoadFromRegistry(const QString& path) const;
    // "" does nothing. Saving holds the file's lock over its read-modify-write and raises
    // when it cannot be had or the file cannot be written.
    void SaveToIniFile(const QString& fileName) const;
    void LoadFromIniFile(const QString& fileName) const;

    // The layout as a key tree in the registry's form (what SaveToRegistry writes below its
    // path), and reading one back.
    TRegKeyData RegistryTree() const;
    void LoadFromRegistryTree(const TRegKeyData& tree) const;
    // Writing into and reading from an ini file held in memory. Writing first erases every
    // section of this manager (its prefix compared without case).
    void SaveToIni(TMemIniFile& ini) const;
    void LoadFromIni(const TMemIniFile& ini) const;

    // "<owner form name>.<manager name>."
    QString IniSectionPrefix() const;
    // The path as stored; "" for no path (an empty path or one naming the root).
    static QString NormalizedRegistryPath(const QString& path);
    // Subkeys a save replaces: "Bar" + digits and "SubItem_" + anything, ignoring case.
    static bool IsLayoutKey(const QString& name);

    // Limits against damaged counts.
    static constexpr int MaxBars = 1000;
    static constexpr int MaxLinks = 10000;

private:
    TdxBarManager* manager_;
};
