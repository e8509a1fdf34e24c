#pragma once
// The bilingual string table: French texts under their id, English under
// id + 1000, and a few language-independent ones (1566, 1573, 10001-10003).

#include <QList>
#include <QString>

// The text of exactly this id; a missing id shows as "[id]" instead of failing.
QString LoadResString(int id);
// The text of a French id in the current language (id + LanguageOffset).
QString LangStr(int frenchId);
bool HasResString(int id);
QList<int> AllResStringIds();
