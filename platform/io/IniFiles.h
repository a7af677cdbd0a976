#pragma once
// TMemIniFile: an ini file read whole into memory, changed there and written back whole.
//
// Text: UTF-8 as the text files (TextFile.h), never the code page documents may be in; lines ended by CR LF, CR or LF; written with
// CR LF through a temporary file and a rename. A line that, trimmed, starts with "[" and
// ends with "]" opens a section named by what lies between. Other lines belong to the
// section above them and are kept as they are (comments included); lines before the first
// section are kept too. An entry is "name=value": the name is what lies before the first
// "=", trimmed, the value everything after it, verbatim.
// Section and entry names compare without case (ASCII and beyond); the first section or
// entry of a name is the one read, and erasing a section erases every section of its name.
// Written names and values have CR, LF and NUL replaced by blanks, so no text can open a
// section or an entry of its own.
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class TMemIniFile {
public:
    // Reads the file when it exists; raises EInOutError when it exists but cannot be read.
    explicit TMemIniFile(const QString& fileName);
    // An ini file over text, with no file behind it (UpdateFile then raises).
    static TMemIniFile FromText(const QString& text);

    const QString& FileName() const { return fileName_; }

    QStringList ReadSections() const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& ident) const;
    QString ReadString(const QString& section, const QString& ident, const QString& defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x", blanks around it ignored; anything else,
    // or a number outside the int range, gives the default.
    int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
    // A non-zero integer is true.
    bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;
    // The integer ReadInteger reads from text; none where it takes the default.
    static std::optional<int> ParseInteger(const QString& text);

    void WriteString(const QString& section, const QString& ident, const QString& value);
    void WriteInteger(const QString& section, const QString& ident, int value);
    void WriteBool(const QString& section, const QString& ident, bool value);
    void EraseSection(const QString& section);
    // Erases every section whose name begins with prefix, compared without case.
    void EraseSectionsStartingWith(const QString& prefix);

    // The file's text as it would be written.
    QStringList Lines() const;
    // Writes the file back whole (temporary file and rename); EInOutError on failure.
    void UpdateFile() const;

    // Read-modify-write of a file other processes may share: under an inter-process lock
    // (a ".lock" file beside it) the file is read afresh, change runs on it, and it is
    // written back. EInOutError when the lock cannot be had or the file not be read or
    // written; the file is then unchanged.
    static void Modify(const QString& fileName, const std::function<void(TMemIniFile&)>& change);

private:
    TMemIniFile() = default;
    struct Section {
        QString name;
        QStringList lines;
        QHash<QString, int> entries;  // case-folded entry name -> its first line
        void AddLine(const QString& line);
    };
    void Parse(const QStringList& lines);
    void Reindex();
    const Section* Find(const QString& section) const;
    // Index of the entry's line in the section, or -1.
    static int EntryLine(const Section& section, const QString& ident);

    QHash<QString, int> index_;  // case-folded section name -> its first section
    QString fileName_;
    QStringList preamble_;
    std::vector<Section> sections_;
};
