#pragma once
// Common ground of the address book window suites: the two address book files
// in the temporary program directory, and a helper that answers the new-name
// dialog.

#include "WindowTestSupport.h"
#include "dialogs/frmnewdir.h"
#include "settings/StringTable.h"
#include "sites/clsGestionData.h"

#include <QLineEdit>
#include <QPushButton>

class SitesFixture : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        clsGestionData().SetFirstData();
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        clsGestionData().SetFirstData();
    }

    void put(const QString &name, const QByteArray &content) const { writeFile(programDir.filePath(name), content); }
    QByteArray bytes(const QString &name) const { return readFile(programDir.filePath(name)); }
    QStringList siteLines() const { return QString::fromLatin1(bytes("ftp.tf")).split("\r\n", Qt::SkipEmptyParts); }
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
        whenModalShown([name](QWidget *modal) {
            auto *dialog = qobject_cast<frmnewdir *>(modal);
            ASSERT_NE(dialog, nullptr);
            if (name.isEmpty())
                return dialog->reject();
            dialog->Text1->setText(name);
            dialog->findChild<QPushButton *>("cmdOk")->click();
        });
    }
};
