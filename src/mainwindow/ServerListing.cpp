#include "mainwindow/ServerListing.h"

#include "platform/gui/Icons.h"
#include "session/cdEnum.h"
#include "settings/StringTable.h"

#include <QStandardItemModel>

namespace {

constexpr int FolderImage = 22;
constexpr int FileImage = 21;

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(alignment);
    return item;
}

// The extension with its dot, from the last "." of the name.
QString extensionOf(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace

void fillServerListing(QStandardItemModel *model, const cdEnum &entries)
{
    model->removeRows(0, model->rowCount());
    for (const cDItemAttribute &entry : entries) {
        const bool folder = entry.Directory;
        auto *name = cell(entry.Filename);
        name->setIcon(icons::imageList6(folder ? FolderImage : FileImage));
        model->appendRow({name, cell(QString::number(entry.FileSize), Qt::AlignRight | Qt::AlignVCenter),
                          cell(folder ? LangStr(698) : extensionOf(entry.Filename)),
                          cell(formatGeneralDate(entry.LastWriteTime))});
    }
}
