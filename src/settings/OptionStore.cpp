#include "settings/OptionStore.h"

#include "settings/Cp1252.h"
#include "settings/StringTable.h"
#include "settings/TextFile.h"

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" (spaces around allowed): the section name, or nothing.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (!t.startsWith(QLatin1Char('[')) || close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// "key=value": the key, trimmed; nothing for lines that hold no key.
std::optional<QString> keyOf(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || isComment(line) || sectionName(line))
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool isQuoted(const QString &t)
{
    return t.size() >= 2 && (t.front() == QLatin1Char('"') || t.front() == QLatin1Char('\''))
        && t.back() == t.front();
}

// Outer spaces go; one pair of matching quotes around the rest goes too, which
// is how a value with outer spaces is kept.
QString valueOf(const QString &line)
{
    const QString t = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    return isQuoted(t) ? t.mid(1, t.size() - 2) : t;
}

QString storedForm(const QString &value)
{
    if (value != value.trimmed() || isQuoted(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

// Index of the line holding key in one of the matching sections, or -1.
qsizetype findKey(const QStringList &lines, const QString &key, const QString &section)
{
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines.at(i))) {
            inSection = sameName(*name, section);
            continue;
        }
        const auto k = keyOf(lines.at(i));
        if (inSection && k && sameName(*k, key))
            return i;
    }
    return -1;
}

// Where a new key of section goes: after the section's last non-blank line;
// -1 when the file has no such section.
qsizetype insertionPoint(const QStringList &lines, const QString &section)
{
    qsizetype at = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines.at(i))) {
            if (at >= 0)
                break;
            inSection = sameName(*name, section);
            if (inSection)
                at = i + 1;
        } else if (inSection && !lines.at(i).trimmed().isEmpty()) {
            at = i + 1;
        }
    }
    return at;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool isStorable(const QString &key, const QString &section, const QString &value)
{
    const QString k = key.trimmed();
    if (k.isEmpty() || k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char('['))
        || k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('#')))
        return false;
    if (section.trimmed().isEmpty() || section.contains(QLatin1Char(']')))
        return false;
    const QString all = key + section + value;
    return !hasLineBreak(all) && cp1252::canEncode(all);
}

} // namespace

bool OptionValue::toBoolean() const
{
    if (const auto n = number())
        return *n != 0;
    return m_text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

bool OptionValue::equalsNumber(qint32 n) const
{
    return isEmpty() ? n == 0 : number() == n;
}

std::optional<qint32> OptionValue::number() const
{
    bool ok = false;
    const qint32 n = m_text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(n) : std::nullopt;
}

OptionValue OptionStore::ReadValue(const QString &key, const QString &section, const QString &file) const
{
    const textfile::Lines read = textfile::readLines(file);
    const qsizetype at = findKey(read.lines, key.trimmed(), section.trimmed());
    return at < 0 ? OptionValue() : OptionValue(valueOf(read.lines.at(at)));
}

FileResult OptionStore::WriteValue(const QString &key, const QString &section, const QString &value,
                                   const QString &file)
{
    if (!isStorable(key, section, value))
        return FileResult::failure(LangStr(706) + key + QLatin1Char('=') + value);
    textfile::Lines read = textfile::readLines(file);
    if (!read.ok)
        return FileResult::failure(read.error);
    QStringList &lines = read.lines;
    const QString line = key.trimmed() + QLatin1Char('=') + storedForm(value);
    const qsizetype at = findKey(lines, key.trimmed(), section.trimmed());
    if (at >= 0) {
        lines[at] = line;
    } else if (const qsizetype insertAt = insertionPoint(lines, section.trimmed()); insertAt >= 0) {
        lines.insert(insertAt, line);
    } else {
        lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']') << line;
    }
    return textfile::writeLines(file, lines);
}
