#pragma once
// The program's pictures: taken from the desktop's icon theme when it has one,
// else from the set we ship (resources/icons/<name>.svg), so that the program
// looks complete without a theme. Unknown names give an empty icon.
//
// Names in use:
//   main tool bar:   manag Disconnect reconnect Transfer Stop command DropIn tool help siteweb maj
//   pane tool bars:  CreateDirectory Delete Rename refresh Download upload sendlist updir
//   pane buttons:    up browse compare
//   tree of sites:   tree-folder tree-site tree-site-selected
//   list headers:    sort-up sort-down
//   comparison:      cmp-missing cmp-date cmp-size
//   file exists:     exist timer
//   wizard steps:    wizard-0 … wizard-5
//   splash:          logo-fr logo-en
//   the program:     tarvoftp
//   file types:      see imageList6()

#include <QIcon>
#include <QString>

namespace icons {

QIcon named(const QString &name);

// The images of the server pane by number: 5 script, 7 archive, 18 sound,
// 19 video or picture, 20 program, 21 other file, 22 folder, 23 file without
// extension (while connecting), 25 text, 27 web page.
QIcon imageList6(int number);

} // namespace icons
