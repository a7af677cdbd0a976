#include "IniFiles.h"

#include "FileLock.h"
#include "SysUtils.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}

// CR, LF and NUL would end the line or cut the text: they become blanks.
QString OneLine(QString text)
{
    for (QChar& c : text)
        if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
    return text;
}

bool IsSectionHeader(const QString& trimmed)
{
    return trimmed.size() >= 2 && trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

}  // namespace

TMemIniFile::TMemIniFile(const QString& fileName) : fileName_(fileName)
{
    if (!fileName.isEmpty() && QFileInfo::exists(fileName))
        Parse(ReadTextFile(fileName, TTextSource::Utf8Only).Lines());
}

TMemIniFile TMemIniFile::FromText(const QString& text)
{
    TMemIniFile ini;
    ini.Parse(SplitLines(text));
    return ini;
}

// The name of an entry line, as lookups compare it; none for a line without "=".
static std::optional<QString> EntryKey(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return std::nullopt;
    return line.left(eq).trimmed().toCaseFolded();
}

void TMemIniFile::Section::AddLine(const QString& line)
{
    if (const std::optional<QString> key = EntryKey(line); key && !entries.contains(*key))
        entries.insert(*key, int(lines.size()));
    lines.append(line);
}

void TMemIniFile::Reindex()
{
    index_.clear();
    for (int i = int(sections_.size()) - 1; i >= 0; --i) index_.insert(sections_[i].name.toCaseFolded(), i);
}

void TMemIniFile::Parse(const QStringList& lines)
{
    preamble_.clear();
    sections_.clear();
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (IsSectionHeader(trimmed))
            sections_.push_back(Section{trimmed.mid(1, trimmed.size() - 2), {}, {}});
        else if (sections_.empty())
            preamble_.append(line);
        else
            sections_.back().AddLine(line);
    }
    Reindex();
}

const TMemIniFile::Section* TMemIniFile::Find(const QString& section) const
{
    const auto it = index_.constFind(section.toCaseFolded());
    return it == index_.constEnd() ? nullptr : &sections_[*it];
}

int TMemIniFile::EntryLine(const Section& section, const QString& ident)
{
    return section.entries.value(ident.trimmed().toCaseFolded(), -1);
}

QStringList TMemIniFile::ReadSections() const
{
    QStringList names;
    for (const Section& s : sections_) names.append(s.name);
    return names;
}

bool TMemIniFile::SectionExists(const QString& section) const
{
    return Find(section) != nullptr;
}

bool TMemIniFile::ValueExists(const QString& section, const QString& ident) const
{
    const Section* s = Find(section);
    return s && EntryLine(*s, ident) >= 0;
}

QString TMemIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue) const
{
    const Section* s = Find(section);
    const int at = s ? EntryLine(*s, ident) : -1;
    if (at < 0) return defaultValue;
    const QString& line = s->lines[at];
    return line.mid(line.indexOf(u'=') + 1);
}

std::optional<int> TMemIniFile::ParseInteger(const QString& value)
{
    QString text = value.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text.remove(0, 1);
    } else if (text.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)) {
        base = 16;
        text.remove(0, 2);
    }
    if (text.isEmpty() || !text[0].isLetterOrNumber()) return std::nullopt;  // no second sign
    bool ok = false;
    const qlonglong magnitude = text.toLongLong(&ok, base);
    if (!ok) return std::nullopt;
    const qlonglong number = negative ? -magnitude : magnitude;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) return std::nullopt;
    return int(number);
}

int TMemIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const
{
    return ParseInteger(ReadString(section, ident, QString())).value_or(defaultValue);
}

bool TMemIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    const QString sectionName = OneLine(section);
    const QString name = OneLine(ident).trimmed();
    Section* s = const_cast<Section*>(Find(sectionName));
    if (!s) {
        sections_.push_back(Section{sectionName, {}, {}});
        index_.insert(sectionName.toCaseFolded(), int(sections_.size()) - 1);
        s = &sections_.back();
    }
    const int at = EntryLine(*s, name);
    if (at >= 0) {  // the entry keeps the spelling of its name
        QString& line = s->lines[at];
        line = line.left(line.indexOf(u'=') + 1) + OneLine(value);
    } else {
        s->AddLine(name + u'=' + OneLine(value));
    }
}

void TMemIniFile::WriteInteger(const QString& section, const QString& ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

void TMemIniFile::WriteBool(const QString& section, const QString& ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TMemIniFile::EraseSection(const QString& section)
{
    if (std::erase_if(sections_, [&](const Section& s) { return SameName(s.name, section); }) > 0) Reindex();
}

void TMemIniFile::EraseSectionsStartingWith(const QString& prefix)
{
    if (std::erase_if(sections_, [&](const Section& s) { return s.name.startsWith(prefix, Qt::CaseInsensitive); }) > 0)
        Reindex();
}

QStringList TMemIniFile::Lines() const
{
    QStringList lines = preamble_;
    for (const Section& s : sections_) {
        lines.append(u'[' + s.name + u']');
        lines += s.lines;
    }
    return lines;
}

void TMemIniFile::UpdateFile() const
{
    if (fileName_.isEmpty()) throw EInOutError(QStringLiteral("The ini file has no name"));
    WriteTextFile(fileName_, Lines(), false);
}

void TMemIniFile::Modify(const QString& fileName, const std::function<void(TMemIniFile&)>& change)
{
    const QFileInfo info(fileName);
    if (!QDir().mkpath(info.absolutePath()))
        throw EInOutError(QStringLiteral("Cannot create the folder of \"%1\"").arg(fileName));
    const TFileLock lock(fileName + QLatin1StringView(".lock"));
    if (!lock.Held()) throw EInOutError(QStringLiteral("Cannot lock \"%1\". %2").arg(fileName, lock.Error()));
    TMemIniFile ini(fileName);
    change(ini);
    ini.UpdateFile();
}
