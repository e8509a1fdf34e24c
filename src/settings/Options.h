#pragma once
// Every setting of the options file "opt.tf" (section "Option" in the program
// directory), one reader and one writer per key, with the value a missing key
// stands for. No caller spells a key by hand. Writes go straight to the file:
// no window has an apply step, and nothing here caches a value.

#include "settings/OptionStore.h"
#include "settings/FileResult.h"

#include <QString>

namespace options {

// Program directory + "/opt.tf", built afresh at every call.
QString optionsFilePath();

// "Langue": the language offset, "0" French or "1000" English. The raw value
// is handed out because the language loader must tell a missing or bad value
// from a real one (it then keeps the offset it has).
OptionValue langue();
FileResult setLangue(qint16 offset);
// The language offset the interface starts in: the session's language while
// "Langue" is not set (French for a French locale, English for any other),
// so that a first start speaks the user's language; once set, 1000 English
// and anything else French.
qint16 startLanguageOffset();

// "Open": the start-up window choice, 1 opens the site manager right after
// the main window; missing is 0.
qint16 startWindowChoice();
FileResult setStartWindowChoice(qint16 checkBoxValue);

// "SWU" is stored inverted: "0" means "check for an update at start", "1"
// means do not. A missing key compares equal to 0, so the check is on.
bool checkUpdateAtStart();
FileResult setCheckUpdateAtStart(bool checked);
QString swuValueFor(bool checked);           // "0" when checked, "1" when cleared
bool swuMeansCheck(const OptionValue &value); // the value compares equal to 0

// "ka": send a keep-alive when the connection is idle; missing is false.
bool keepAlive();
FileResult setKeepAlive(bool on);

// Completion sound wanted: written as "Vson", read as "VSon" (one entry, the
// store ignores letter case); missing is false.
bool veuxSon();
FileResult setVeuxSon(bool on);

// "Son": the sound file chosen, or "recv.WAV" for the program's own sound;
// missing is the empty text.
inline const QString DefaultSound = QStringLiteral("recv.WAV");
QString son();
FileResult setSon(const QString &soundFile);
// The file to play for a value of "Son": "recv.WAV" is the program directory's
// own file, anything else the path it names.
QString soundFilePath(const QString &sonValue);

// "Simultaneous": how many files the queue moves at once, 1 to 10; missing
// or out of range is 2.
inline constexpr int DefaultSimultaneousTransfers = 2;
int simultaneousTransfers();
FileResult setSimultaneousTransfers(int count);

// "retries": how many times a transfer cut off by a dropped connection or a
// time-out is tried again, 0 to 10; missing or out of range is 3.
inline constexpr int DefaultRetries = 3;
inline constexpr int MaxRetries = 10;
int retries();
FileResult setRetries(int count);

// "verupd": version text of the external updater fetched last; missing is "".
QString verupd();
FileResult setVerupd(const QString &version);

} // namespace options
