#include "platform/gui/Choosers.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {
namespace {
std::function<QString(const QString &)> &chooserOverride()
{
    static std::function<QString(const QString &)> f;
    return f;
}
std::function<bool(const QString &)> &openOverride()
{
    static std::function<bool(const QString &)> f;
    return f;
}
} // namespace

void setOpenOverride(std::function<bool(const QString &)> open)
{
    openOverride() = std::move(open);
}

void setChooserOverride(std::function<QString(const QString &kind)> answer)
{
    chooserOverride() = std::move(answer);
}

QString chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    if (chooserOverride())
        return chooserOverride()(QStringLiteral("folder"));
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

QString chooseOpenFile(QWidget *parent, const QString &title, const QString &filter)
{
    if (chooserOverride())
        return chooserOverride()(QStringLiteral("file"));
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

bool openWithDesktop(const QString &pathOrUrl)
{
    if (openOverride())
        return openOverride()(pathOrUrl);
    const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl) : QUrl(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}

} // namespace platform
