// The process-wide copies of the two address-book files and the collections
// the site manager's tree is built from.
#include "sites/clsGestionData.h"

#include "settings/TextFile.h"
#include "sites/SiteKeyring.h"
#include "sites/SiteRecord.h"

using siterecord::Folder;
using siterecord::Site;

namespace {

struct Cache {
    QStringList siteLines;    // non-empty lines of ftp.tf
    QStringList folderLines;  // non-empty lines of TypeFtp.tf
    QList<Site> sites;        // the records behind the collections, same order
    QList<Folder> folders;
    KeyedCollection siteCollection;
    KeyedCollection folderCollection;
    sitetls::Entries tls;     // ftptls.tf
};

Cache &cache()
{
    static Cache c;
    return c;
}

QStringList nonEmpty(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (!line.isEmpty())
            kept.append(line);
    }
    return kept;
}

QString withLineEnds(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return text;
}

void fill(clsGestionData &d, const Site &site)
{
    d.tlsMode = sitetls::modeOf(cache().tls, site.number, site.name());
    const QStringList &f = site.fields;
    d.lServerNo = site.number;
    d.sServerName = f.at(1);
    d.sServerIp = f.at(2);
    d.sServerPort = f.at(3);
    d.sServerUser = f.at(4);
    d.sServerPass = siterecord::decodePassword(f.at(5));
    d.sServerTransfert = f.at(6);
    d.sServerTypeConnect = f.at(7);
    d.sServerInitServPath = f.at(8);
    d.lServerType = site.folder();
    d.sServerInitialPath = f.at(10);
}

} // namespace

FileResult clsGestionData::SetFirstData()
{
    const textfile::Lines sites = textfile::readLines(siteFilePath());
    const textfile::Lines folders = textfile::readLines(folderFilePath());
    cache().siteLines = nonEmpty(sites.lines);
    cache().folderLines = nonEmpty(folders.lines);
    // A side file that cannot be read leaves every site at the default mode;
    // the address book itself still loads.
    cache().tls = sitetls::read().entries;
    BuildCollections();
    if (!sites.ok)
        return FileResult::failure(sites.error);
    if (!folders.ok)
        return FileResult::failure(folders.error);
    return FileResult::success();
}

void clsGestionData::BuildCollections()
{
    Cache &c = cache();
    c.sites.clear();
    c.siteCollection.clear();
    for (const QString &line : std::as_const(c.siteLines)) {
        const auto site = siterecord::parseSite(line);
        if (site && c.siteCollection.add(QString::number(site->number), site->name()))
            c.sites.append(*site);
    }
    c.folders.clear();
    c.folderCollection.clear();
    for (const QString &line : std::as_const(c.folderLines)) {
        const auto folder = siterecord::parseFolder(line);
        if (folder && c.folderCollection.add(QString::number(folder->number), folder->name))
            c.folders.append(*folder);
    }
}

bool clsGestionData::SetCollectionData(const QString &sNumero, bool bIsSelect)
{
    const auto n = siterecord::toNumber(sNumero);
    const QList<Site> &sites = cache().sites;
    if (!n)
        return false;
    if (!bIsSelect) {
        if (*n < 1 || *n > sites.size())
            return false;
        fill(*this, sites.at(*n - 1));
        return true;
    }
    for (const Site &site : sites) {
        if (site.number == *n) {
            fill(*this, site);
            sServerPass = sitekeyring::passwordOf(site.number, site.fields.at(5));
            return true;
        }
    }
    return false;
}

QString clsGestionData::sitePassword() const
{
    return sServerPass.isEmpty() ? sitekeyring::passwordOf(lServerNo, QString()) : sServerPass;
}

bool clsGestionData::SetCollectionSec(const QString &sNumero)
{
    const auto n = siterecord::toNumber(sNumero);
    const QList<Folder> &folders = cache().folders;
    if (!n || *n < 1 || *n > folders.size())
        return false;
    lTypeNo = folders.at(*n - 1).number;
    sTypeFtp = folders.at(*n - 1).name;
    return true;
}

QString clsGestionData::siteText()
{
    return withLineEnds(cache().siteLines);
}

QString clsGestionData::folderText()
{
    return withLineEnds(cache().folderLines);
}

const KeyedCollection &clsGestionData::siteCollection()
{
    return cache().siteCollection;
}

const KeyedCollection &clsGestionData::folderCollection()
{
    return cache().folderCollection;
}
