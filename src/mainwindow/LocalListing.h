#pragma once
// Reads one folder of the disk into the local pane's rows: its sub-folders,
// then its files, each in name order, with size, the desktop's type name and
// date. Pictures and type names come from a cache by kind of file, so a large
// folder costs one look-up per kind, not one per file.

#include <QIcon>
#include <QString>

class PaneModel;

void fillLocalListing(PaneModel &model, const QString &folder);

// The desktop's type name and picture of a file (by its name, not its content)
// and of a folder; cached for the life of the program.
struct LocalFileType {
    QString key;      // one per kind of file
    QString typeName; // leading spaces removed
    QIcon icon;
};
const LocalFileType &localFileType(const QString &fileName);
const LocalFileType &localFolderType();

// The folder as the pane's caption shows it: ending in a separator, and when
// that is 31 characters or longer ".." followed by its last 30 characters.
QString shortLocalPath(const QString &folder);
