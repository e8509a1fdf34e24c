#include "settings/clsTraduction.h"

#include "session/SessionState.h"
#include "settings/Options.h"

namespace {

constexpr qint32 French = 0;
constexpr qint32 English = 1000;

} // namespace

bool clsTraduction::LoadRes()
{
    const auto offset = options::langue().number();
    if (!offset || (*offset != French && *offset != English))
        return false;
    LanguageOffset = qint16(*offset);
    LoadResMenu();
    return true;
}

void clsTraduction::LoadResMenu()
{
    if (m_captioner)
        m_captioner->LoadResMenu();
}
