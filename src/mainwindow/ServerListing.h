#pragma once
// Turns the session's last listing into the server pane's rows: name, size,
// type (the extension, or "<Dossier>"/"<Folder>") and date, each with the
// picture of its kind of file.

class PaneModel;
class cdEnum;

void fillServerListing(PaneModel &model, const cdEnum &entries);
