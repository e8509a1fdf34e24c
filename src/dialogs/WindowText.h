#pragma once
// Small helpers the windows share to caption themselves from the string table.
//
// A control that takes its caption from a French string id carries that id as
// its tag; applyTaggedCaptions() gives every tagged control below a window the
// text of (id + LanguageOffset), so recaptioning after a language switch is
// the same call as captioning at load.

#include <QString>

class QLabel;
class QWidget;

namespace windowtext {

// The program's title as the windows show it.
QString programTitle();
// "major.minor.revision" of the running program.
QString programVersion();

// Marks `control` (a label or a button) as captioned by the French id.
void tag(QWidget *control, int frenchId);
// Captions every tagged label and button inside `window` in the current language.
void applyTaggedCaptions(QWidget *window);

// A label in the bold face of its window (headlines, figures that matter).
QLabel *boldLabel(QWidget *parent);

} // namespace windowtext
