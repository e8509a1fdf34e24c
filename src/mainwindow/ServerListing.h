#pragma once
// Turns the session's last listing into the server pane's rows: name, size,
// type (the extension, "<Dossier>"/"<Folder>" or, for a link, "<Lien>"/
// "<Link>") and date, each with the picture of its kind of file. A size or a
// date the listing did not give is an empty cell.

class PaneModel;
class cdEnum;

void fillServerListing(PaneModel &model, const cdEnum &entries);
