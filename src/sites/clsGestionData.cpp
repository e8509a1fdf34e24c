#include "sites/clsGestionData.h"

#include "platform/Paths.h"
#include "settings/StringTable.h"
#include "settings/TextFile.h"
#include "sites/SiteKeyring.h"
#include "sites/SiteRecord.h"
#include "sites/SiteTls.h"

#include <QSet>

#include <functional>
#include <limits>

using siterecord::parseFolder;
using siterecord::parseSite;
using siterecord::Site;

namespace {

// The records of one file; blank lines are not records and do not end it.
textfile::Lines readRecords(const QString &path)
{
    textfile::Lines read = textfile::readLines(path);
    read.lines.removeAll(QString());
    return read;
}

// The name of a well-formed record of either file; nothing for other lines.
std::optional<QString> recordName(const QString &line, bool folderFile)
{
    if (folderFile) {
        if (const auto folder = parseFolder(line))
            return folder->name;
    } else if (const auto site = parseSite(line)) {
        return site->name();
    }
    return std::nullopt;
}

// The number after the biggest of lines, or nothing when it would not fit.
std::optional<qint32> nextNumber(const QStringList &lines)
{
    const qint32 biggest = siterecord::biggestNumber(lines);
    if (biggest == std::numeric_limits<qint32>::max())
        return std::nullopt;
    return biggest + 1;
}

// Rewrites ftp.tf without the well-formed sites that doomed() picks; their
// passwords leave the keyring with them.
FileResult removeSites(const std::function<bool(const Site &)> &doomed)
{
    const QString path = clsGestionData::siteFilePath();
    const textfile::Lines read = readRecords(path);
    if (!read.ok)
        return FileResult::failure(read.error);
    QStringList kept;
    QList<qint32> removed;
    for (const QString &line : read.lines) {
        const auto site = parseSite(line);
        if (!site || !doomed(*site))
            kept.append(line);
        else
            removed.append(site->number);
    }
    if (removed.isEmpty())
        return FileResult::success();
    if (const FileResult written = textfile::writeLines(path, kept); !written)
        return written;
    sitekeyring::forget(removed);
    return sitetls::follow(kept);
}

QList<qint32> otherThan(const QList<qint32> &numbers, std::optional<qint32> kept)
{
    QList<qint32> others;
    for (qint32 n : numbers)
        if (n != kept && !others.contains(n))
            others.append(n);
    return others;
}

// A line handed to SaveDataChange: ten fields (name first) or a whole record.
FileResult checkLineToSave(const QStringList &parts, bool wholeRecord)
{
    for (const QString &part : parts) {
        if (const FileResult check = siterecord::checkFieldText(part); !check)
            return check;
    }
    const int expected = wholeRecord ? siterecord::SiteFieldCount : siterecord::SiteFieldCount - 1;
    const int nameAt = wholeRecord ? 1 : 0;
    if (parts.size() != expected)
        return FileResult::failure(LangStr(703) + parts.value(nameAt));
    if (wholeRecord && !siterecord::toNumber(parts.at(0)))
        return FileResult::failure(LangStr(707) + parts.at(0));
    if (parts.at(nameAt).isEmpty())
        return FileResult::failure(LangStr(639));
    if (!siterecord::toNumber(parts.at(nameAt + 8)))
        return FileResult::failure(LangStr(705) + parts.at(nameAt + 8));
    return FileResult::success();
}

} // namespace

QString clsGestionData::siteFilePath()
{
    return platform::joinPath(platform::programDirectory(), QStringLiteral("ftp.tf"));
}

QString clsGestionData::folderFilePath()
{
    return platform::joinPath(platform::programDirectory(), QStringLiteral("TypeFtp.tf"));
}

bool clsGestionData::isFolderFile(const QString &sFind)
{
    return sFind.compare(QLatin1String("type"), Qt::CaseInsensitive) == 0;
}

bool clsGestionData::ChkIfDataExist(const QString &sFind, const QString &sName) const
{
    const bool folderFile = isFolderFile(sFind);
    const textfile::Lines read = readRecords(folderFile ? folderFilePath() : siteFilePath());
    for (const QString &line : read.lines) {
        if (recordName(line, folderFile) == sName)
            return true;
    }
    return false;
}

QString clsGestionData::GetServerName(const QString &sFind, const QString &sName) const
{
    const bool folderFile = isFolderFile(sFind);
    const textfile::Lines read = readRecords(folderFile ? folderFilePath() : siteFilePath());
    for (const QString &line : read.lines) {
        if (recordName(line, folderFile) == sName)
            return line.left(line.lastIndexOf(QLatin1Char('|')));
    }
    return QString();
}

QString clsGestionData::GetBigNo(const QString &sFind) const
{
    const textfile::Lines read = readRecords(isFolderFile(sFind) ? folderFilePath() : siteFilePath());
    return QString::number(siterecord::biggestNumber(read.lines));
}

FileResult clsGestionData::SaveDataChange(const QString &sLineToSave, bool bUpdateParam,
                                          bool bUpdateServer, const QString &sNewServerName)
{
    const QStringList parts = sLineToSave.split(QLatin1Char('|'));
    if (const FileResult check = checkLineToSave(parts, bUpdateParam); !check)
        return check;
    const QString keyName = parts.at(bUpdateParam ? 1 : 0);
    const textfile::Lines read = readRecords(siteFilePath());
    if (!read.ok)
        return FileResult::failure(read.error);

    QStringList kept;
    std::optional<qint32> keyNumber, formerNumber;
    QList<qint32> dropped;
    for (const QString &line : read.lines) {
        const auto site = parseSite(line);
        const bool isKey = site && site->name() == keyName;
        const bool isFormer = site && !sNewServerName.isEmpty() && site->name() == sNewServerName;
        if (!isKey && !isFormer) {
            kept.append(line);
            continue;
        }
        dropped.append(site->number);
        if (isFormer && !formerNumber)
            formerNumber = site->number;
        else if (isKey && !keyNumber)
            keyNumber = site->number;
    }

    QString record = sLineToSave;
    std::optional<qint32> number = bUpdateParam ? siterecord::toNumber(parts.at(0)) : std::nullopt;
    // Whether the record keeps the number of one it replaces (then its TLS
    // mode, kept beside ftp.tf under that number, goes with it).
    bool numberKept = bUpdateParam && (number == keyNumber || number == formerNumber);
    if (!bUpdateParam) {
        number = bUpdateServer ? (formerNumber ? formerNumber : keyNumber) : std::nullopt;
        numberKept = number.has_value();
        if (!number)
            number = nextNumber(read.lines);
        if (!number)
            return FileResult::failure(LangStr(707) + GetBigNo(QStringLiteral("Site")));
        record = QString::number(*number) + QLatin1Char('|') + sLineToSave;
    }
    record = sitekeyring::storePassword(record, !bUpdateParam);
    kept.append(record);
    if (const FileResult written = textfile::writeLines(siteFilePath(), kept); !written)
        return written;
    // A site replaced by this one (same name, fresh number) takes its
    // password with it.
    sitekeyring::forget(otherThan(dropped, siterecord::leadingNumber(record)));
    lServerNo = *number;
    return sitetls::follow(kept, number, numberKept, keyName);
}

FileResult clsGestionData::DeleteData(const QString &sDelete, const QString &sName)
{
    if (!isFolderFile(sDelete))
        return removeSites([&sName](const Site &site) { return site.name() == sName; });

    const textfile::Lines read = readRecords(folderFilePath());
    if (!read.ok)
        return FileResult::failure(read.error);
    QStringList kept;
    QSet<qint32> removed;
    for (const QString &line : read.lines) {
        const auto folder = parseFolder(line);
        if (folder && folder->name == sName)
            removed.insert(folder->number);
        else
            kept.append(line);
    }
    if (removed.isEmpty())
        return FileResult::success();
    // The sites go first: should the folder file then fail, the user sees an
    // empty folder, not sites left unseen under a number a new folder could
    // get again.
    // (removeSites also drops the removed sites' TLS modes.)
    if (const FileResult sites = removeSites([&removed](const Site &site) {
            return removed.contains(site.folder());
        }); !sites)
        return sites;
    return textfile::writeLines(folderFilePath(), kept);
}

FileResult clsGestionData::addFolder(const QString &name)
{
    if (name.isEmpty())
        return FileResult::failure(LangStr(528));
    if (const FileResult check = siterecord::checkFieldText(name); !check)
        return check;
    QString unique = name;
    for (int i = 0; i < 3 && ChkIfDataExist(QStringLiteral("type"), unique); ++i)
        unique += QStringLiteral("(2)");

    textfile::Lines read = readRecords(folderFilePath());
    if (!read.ok)
        return FileResult::failure(read.error);
    const auto number = nextNumber(read.lines);
    if (!number)
        return FileResult::failure(LangStr(707) + GetBigNo(QStringLiteral("type")));
    read.lines.append(QString::number(*number) + QLatin1Char('|') + unique + QLatin1Char('|'));
    if (const FileResult written = textfile::writeLines(folderFilePath(), read.lines); !written)
        return written;
    lTypeNo = *number;
    sTypeFtp = unique;
    SetFirstData();
    return FileResult::success();
}

FileResult clsGestionData::setTlsMode(qint32 siteNumber, sitetls::Mode mode)
{
    for (const QString &line : readRecords(siteFilePath()).lines) {
        const auto site = parseSite(line);
        if (site && site->number == siteNumber) {
            const FileResult written = sitetls::setMode(siteNumber, site->name(), mode);
            SetFirstData();
            return written;
        }
    }
    return FileResult::failure(LangStr(707) + QString::number(siteNumber));
}

FileResult clsGestionData::composeSiteLine(const SiteFields &f, QString *line)
{
    const QString port = f.port.isEmpty() ? QStringLiteral("21") : f.port;
    const QStringList typed = {f.name, f.host, port, f.user, f.password, f.transfer,
                               f.mode, f.remotePath, f.folder, f.localPath};
    for (const QString &value : typed) {
        if (const FileResult check = siterecord::checkFieldText(value); !check)
            return check;
    }
    QStringList parts = typed;
    parts[4] = siterecord::encodePassword(f.password);
    const QString composed = parts.join(QLatin1Char('|'));
    if (const FileResult check = checkLineToSave(parts, false); !check)
        return check;
    if (line)
        *line = composed;
    return FileResult::success();
}
