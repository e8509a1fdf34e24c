#pragma once
// The desktop's file and folder choosers, behind a seam that tests replace
// (a test answers the chooser as if the user had picked a file or cancelled).

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace platform {

// "" when the user cancelled.
QString chooseFolder(QWidget *parent, const QString &title = QString(), const QString &start = QString());
QString chooseOpenFile(QWidget *parent, const QString &title, const QString &filter);

// Tests: every chooser call returns what this function gives (kind is
// "folder" or "file"); an empty function restores the real dialogs.
void setChooserOverride(std::function<QString(const QString &kind)> answer);

// Opens a document or web address with the desktop's program for it.
bool openWithDesktop(const QString &pathOrUrl);
// Tests: record what would be opened instead of opening it.
void setOpenOverride(std::function<bool(const QString &pathOrUrl)> open);
// Starts a program with arguments, detached.
bool startProgram(const QString &program, const QStringList &arguments = {},
                  const QString &workingDirectory = QString());

} // namespace platform
