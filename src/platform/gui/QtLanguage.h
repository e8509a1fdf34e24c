#pragma once
// Qt's own texts (the Yes/No/Cancel of message boxes, file dialogs) follow the
// language chosen in the program.
namespace platform {
void applyQtLanguage(bool french);
}
