#pragma once
// Fills the local pane's rows from one folder of the disk: its sub-folders,
// then its files, each in name order, with size, type and date. Kept apart
// from the window so that a richer model can take its place.

#include <QString>

class QStandardItemModel;

void fillLocalListing(QStandardItemModel *model, const QString &folder);

// The folder as the pane's caption shows it: ending in a separator, and when
// that is 31 characters or longer ".." followed by its last 30 characters.
QString shortLocalPath(const QString &folder);
