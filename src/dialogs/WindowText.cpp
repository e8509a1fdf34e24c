#include "dialogs/WindowText.h"

#include "settings/StringTable.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace windowtext {
namespace {
const char *const TagProperty = "tarvoCaptionId";
} // namespace

QString programTitle()
{
    return QStringLiteral("Tarvo FTP");
}

QString programVersion()
{
    return QStringLiteral("%1.%2.%3").arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH);
}

void tag(QWidget *control, int frenchId)
{
    control->setProperty(TagProperty, frenchId);
}

void applyTaggedCaptions(QWidget *window)
{
    const auto controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QVariant id = control->property(TagProperty);
        if (!id.isValid())
            continue;
        const QString text = LangStr(id.toInt());
        if (auto *label = qobject_cast<QLabel *>(control))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->setText(text);
    }
}

QLabel *boldLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace windowtext
