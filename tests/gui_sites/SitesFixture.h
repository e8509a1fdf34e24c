#pragma once
// Common ground of the address book window suites: a temporary program
// directory with the two address book files, scripted answers to questions and
// choosers, and a helper that answers the new-name dialog.

#include "ScriptedPrompt.h"
#include "dialogs/frmnewdir.h"
#include "platform/Paths.h"
#include "platform/gui/Choosers.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"
#include "sites/clsGestionData.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

class SitesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resetSessionState();
        platform::setProgramDirectory(dir.path());
        clsGestionData().SetFirstData();
    }
    void TearDown() override
    {
        platform::setChooserOverride({});
        platform::setProgramDirectory(QString());
        clsGestionData().SetFirstData();
        resetSessionState();
    }

    void put(const QString &name, const QByteArray &content) const
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray bytes(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList siteLines() const
    {
        return QString::fromLatin1(bytes("ftp.tf")).split("\r\n", Qt::SkipEmptyParts);
    }
    // Three folders; site 1 active in folder 1, site 2 passive in folder 2.
    void putSampleBook() const
    {
        put("TypeFtp.tf", "1|Work|\r\n2|Home|\r\n3|Misc|\r\n");
        put("ftp.tf", "1|Alpha|alpha.example|21|bob||1|1|/pub|1|/tmp/a/\r\n"
                      "2|Beta|beta.example|2121|ann||2|2||2|\r\n");
        clsGestionData().SetFirstData();
    }

    // Types name into the next new-name dialog and presses OK (empty: Cancel).
    static void answerNameDialog(const QString &name)
    {
        QTimer::singleShot(0, [name] {
            auto *dialog = qobject_cast<frmnewdir *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->Text1->setText(name);
            dialog->findChild<QPushButton *>("cmdOk")->click();
        });
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
};
