#pragma once
// The text format of the string table (resources/strings.txt): one entry per
// line, "id<TAB>text", '#' comment lines and blank lines ignored. In the text a
// backslash starts an escape: \s space, \n line break, \t tab, \\ backslash.
// Spaces at either end of a text are only kept when written as \s, so that no
// editor can change a text by trimming lines.

#include <QHash>
#include <QString>
#include <QStringList>

// Parses a whole table. Lines that cannot be read (no tab, an id that is not a
// number, an id given twice, an unknown escape) are left out and described in
// problems, one sentence each with its line number.
QHash<int, QString> parseStringTable(const QString &text, QStringList *problems = nullptr);
