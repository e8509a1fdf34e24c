#include "sites/SiteTls.h"

#include "platform/Paths.h"
#include "settings/TextFile.h"
#include "sites/SiteRecord.h"

#include <algorithm>

namespace sitetls {
namespace {

struct Word {
    const char *word;
    Mode mode;
};
constexpr Word kWords[] = {
    {"auto", Mode::IfOffered}, {"explicit", Mode::Required}, {"implicit", Mode::Implicit}, {"off", Mode::Off}};

FileResult write(const Entries &entries)
{
    QList<qint32> numbers = entries.keys();
    std::sort(numbers.begin(), numbers.end());
    QStringList lines;
    for (qint32 number : numbers) {
        const Entry &e = entries.value(number);
        lines.append(QStringLiteral("%1|%2|%3").arg(number).arg(keyword(e.mode), e.name));
    }
    return textfile::writeLines(filePath(), lines);
}

} // namespace

QString keyword(Mode mode)
{
    for (const Word &w : kWords) {
        if (w.mode == mode)
            return QLatin1String(w.word);
    }
    return QLatin1String(kWords[0].word);
}

std::optional<Mode> fromKeyword(const QString &word)
{
    for (const Word &w : kWords) {
        if (word.trimmed().compare(QLatin1String(w.word), Qt::CaseInsensitive) == 0)
            return w.mode;
    }
    return std::nullopt;
}

QString filePath()
{
    return platform::joinPath(platform::programDirectory(), QStringLiteral("ftptls.tf"));
}

Read read()
{
    const textfile::Lines file = textfile::readLines(filePath());
    Read result{file.ok, file.error, {}};
    for (const QString &line : file.lines) {
        const qsizetype first = line.indexOf(QLatin1Char('|'));
        const qsizetype second = line.indexOf(QLatin1Char('|'), first + 1);
        if (first < 0 || second < 0)
            continue;
        const auto number = siterecord::toNumber(line.left(first));
        const auto mode = fromKeyword(line.mid(first + 1, second - first - 1));
        if (number && mode)
            result.entries.insert(*number, Entry{*mode, line.mid(second + 1)});
    }
    return result;
}

Mode modeOf(const Entries &entries, qint32 number, const QString &name)
{
    const auto it = entries.constFind(number);
    return it != entries.cend() && it->name == name ? it->mode : DefaultMode;
}

FileResult setMode(qint32 number, const QString &name, Mode mode)
{
    Read current = read();
    if (!current.ok)
        return FileResult::failure(current.error);
    Entries changed = current.entries;
    if (mode == DefaultMode)
        changed.remove(number);
    else
        changed.insert(number, Entry{mode, name});
    return changed == current.entries ? FileResult::success() : write(changed);
}

FileResult follow(const QStringList &siteLines, std::optional<qint32> saved, bool numberKept, const QString &savedName)
{
    Read current = read();
    if (!current.ok)
        return FileResult::failure(current.error);
    if (current.entries.isEmpty())
        return FileResult::success();
    Entries kept = current.entries;
    if (saved && kept.contains(*saved)) {
        if (numberKept)
            kept[*saved].name = savedName;
        else
            kept.remove(*saved);
    }
    QHash<qint32, QString> onFile;
    for (const QString &line : siteLines) {
        if (const auto site = siterecord::parseSite(line))
            onFile.insert(site->number, site->name());
    }
    for (auto it = kept.begin(); it != kept.end();) {
        const auto site = onFile.constFind(it.key());
        if (site == onFile.cend() || *site != it->name)
            it = kept.erase(it);
        else
            ++it;
    }
    return kept == current.entries ? FileResult::success() : write(kept);
}

} // namespace sitetls
