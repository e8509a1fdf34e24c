#include "mainwindow/LocalListing.h"

#include "mainwindow/PaneModel.h"
#include "session/DateValue.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

#include <unordered_map>

namespace {

constexpr int LongestShownPath = 30;

QFileIconProvider &iconProvider()
{
    static QFileIconProvider provider;
    return provider;
}

// The picture of a type: the desktop theme's for it, else its generic
// family's, else the provider's plain file.
QIcon iconOfType(const QMimeType &type)
{
    const QIcon plain = iconProvider().icon(QAbstractFileIconProvider::File);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), plain));
}

const LocalFileType &typeOfMime(const QMimeType &mime)
{
    // Nodes keep their place: callers hold on to the references.
    static std::unordered_map<QString, LocalFileType> byMime;
    auto found = byMime.find(mime.name());
    if (found == byMime.end()) {
        LocalFileType type{QStringLiteral("mime:") + mime.name(), mime.comment().trimmed(), iconOfType(mime)};
        found = byMime.emplace(mime.name(), std::move(type)).first;
    }
    return found->second;
}

} // namespace

const LocalFileType &localFileType(const QString &fileName)
{
    static const QMimeDatabase types;
    static QHash<QString, const LocalFileType *> bySuffix;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    // Names without a suffix (Makefile, README) are known by their whole name.
    if (dot <= 0)
        return typeOfMime(types.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension));
    const QString suffix = fileName.mid(dot + 1).toLower();
    const auto found = bySuffix.constFind(suffix);
    if (found != bySuffix.constEnd())
        return **found;
    const LocalFileType &type = typeOfMime(types.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension));
    bySuffix.insert(suffix, &type);
    return type;
}

const LocalFileType &localFolderType()
{
    static const LocalFileType folder{QStringLiteral("folder"), QString(),
                                      iconProvider().icon(QAbstractFileIconProvider::Folder)};
    return folder;
}

void fillLocalListing(PaneModel &model, const QString &folder)
{
    std::vector<PaneRow> rows;
    if (folder.isEmpty()) {
        model.setRows(std::move(rows));
        return;
    }
    const QDir dir(folder);
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order);
    const QFileInfoList files = dir.entryInfoList(QDir::Files, order);
    rows.reserve(size_t(folders.size() + files.size()));

    const LocalFileType &folderType = localFolderType();
    const int folderIcon = model.iconFor(folderType.key, [&] { return folderType.icon; });
    const QString folderText = LangStr(698);
    for (const QFileInfo &sub : folders) {
        PaneRow row;
        row.name = sub.fileName();
        row.typeText = folderText;
        row.isFolder = true;
        row.showsSize = false;
        row.showsDate = false;
        row.icon = folderIcon;
        rows.push_back(std::move(row));
    }
    for (const QFileInfo &file : files) {
        PaneRow row;
        row.name = file.fileName();
        const LocalFileType &type = localFileType(row.name);
        row.typeText = type.typeName;
        row.size = file.size();
        row.date = dateValueFromDateTime(file.lastModified());
        row.icon = model.iconFor(type.key, [&] { return type.icon; });
        rows.push_back(std::move(row));
    }
    model.setRows(std::move(rows));
}

QString shortLocalPath(const QString &folder)
{
    QString base = QDir::toNativeSeparators(folder);
    if (!base.endsWith(QDir::separator()))
        base += QDir::separator();
    if (base.size() > LongestShownPath)
        return (QStringLiteral("..") + base.right(LongestShownPath)).trimmed();
    return base;
}
