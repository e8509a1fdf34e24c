#include "mainwindow/ServerListing.h"

#include "mainwindow/PaneModel.h"
#include "platform/gui/Icons.h"
#include "session/FileTypes.h"
#include "session/cdEnum.h"
#include "settings/StringTable.h"

namespace {
constexpr int FolderImage = 22;
constexpr int LinkImage = 24;
constexpr int LinkTypeId = 870;
} // namespace

void fillServerListing(PaneModel &model, const cdEnum &entries)
{
    const QString folderType = LangStr(698);
    const QString linkType = LangStr(LinkTypeId);
    // One picture per image number, looked up once per listing.
    int pictureOf[32];
    std::fill(std::begin(pictureOf), std::end(pictureOf), -1);
    const auto picture = [&](int image) {
        if (image < 0 || image >= 32)
            image = 21;
        if (pictureOf[image] < 0)
            pictureOf[image] = model.iconFor(QStringLiteral("image:%1").arg(image),
                                             [image] { return icons::imageList6(image); });
        return pictureOf[image];
    };

    std::vector<PaneRow> rows;
    rows.reserve(size_t(entries.Count()));
    for (const cDItemAttribute &entry : entries) {
        PaneRow row;
        row.name = entry.Filename;
        row.size = entry.FileSize;
        row.date = entry.LastWriteTime;
        // What the server did not say stays an empty cell, not "0" or 1601.
        row.showsSize = entry.sizeKnown;
        row.showsDate = entry.timeKnown;
        row.sizeRough = entry.sizeRough;
        row.isFolder = entry.Directory;
        if (entry.isLink) {
            row.image = LinkImage;
            row.typeText = linkType;
        } else {
            row.image = entry.Directory ? FolderImage : ImgNumber(entry.Filename);
            row.typeText = entry.Directory ? folderType : GetFileExtension(entry.Filename);
        }
        row.icon = picture(row.image);
        rows.push_back(std::move(row));
    }
    model.setRows(std::move(rows));
}
