#include "mainwindow/LocalListing.h"

#include "platform/gui/Icons.h"
#include "session/DateValue.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardItemModel>

namespace {

constexpr int FolderImage = 22;
constexpr int FileImage = 21;
constexpr int LongestShownPath = 30;

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(alignment);
    return item;
}

} // namespace

void fillLocalListing(QStandardItemModel *model, const QString &folder)
{
    model->removeRows(0, model->rowCount());
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo &sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order)) {
        auto *name = cell(sub.fileName());
        name->setIcon(icons::imageList6(FolderImage));
        model->appendRow({name, cell(QString()), cell(LangStr(698)), cell(QString())});
    }
    static const QMimeDatabase types;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files, order)) {
        auto *name = cell(file.fileName());
        name->setIcon(icons::imageList6(FileImage));
        model->appendRow({name, cell(QString::number(file.size()), Qt::AlignRight | Qt::AlignVCenter),
                          cell(types.mimeTypeForFile(file).comment().trimmed()),
                          cell(formatGeneralDate(file.lastModified()))});
    }
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
