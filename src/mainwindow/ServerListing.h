#pragma once
// Fills the server pane's rows from the session's last listing: name, size,
// type and date, folders as "<Dossier>"/"<Folder>". Kept apart from the window
// so that a richer model can take its place.

class QStandardItemModel;
class cdEnum;

void fillServerListing(QStandardItemModel *model, const cdEnum &entries);
