#include "app/dialogs/assuku_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "services/settings.h"

using namespace Qt::StringLiterals;
using tessaly::CAssukuDlg;

class AssukuDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tessaly::UseSettingsFile(dir_.filePath(u"settings.ini"_s)); }
    void cleanupTestCase() { tessaly::UseSettingsFile({}); }
    void confirmedQualityIsProposedNextTime();

private:
    QTemporaryDir dir_;
};

void Click(QDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(u"no button "_s + text));
}

void AssukuDlgTest::confirmedQualityIsProposedNextTime() {
    {
        CAssukuDlg dialog;
        QCOMPARE(dialog.Quality(), 100);
        Click(dialog, u"30"_s);
        Click(dialog, u"決定(&S)"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(tessaly::GetProfileInt(u"Last"_s, u"Quality"_s, 0), 30);
    CAssukuDlg next;
    QCOMPARE(next.Quality(), 30);
    bool shown = false;
    for (QLabel* label : next.findChildren<QLabel*>()) shown |= label->text() == u"30"_s;
    QVERIFY(shown);
}

QTEST_MAIN(AssukuDlgTest)
#include "assuku_dlg_test.moc"
