#include "app/dialogs/kanset_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/widgets/number_edit.h"
#include "services/app_settings.h"
#include "services/settings.h"

using namespace Qt::StringLiterals;
using tessaly::AppSettings;
using tessaly::CKansetDlg;

// What the environment settings show and what they leave in the store and
// the application's values.
class KansetDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() { tessaly::UseSettingsFile(dir_.filePath(u"settings.ini"_s)); }
    void cleanup() {
        tessaly::UseSettingsFile({});
        QFile::remove(dir_.filePath(u"settings.ini"_s));
    }
    void typedSizesAreStoredWithinRange();
    void storedValuesOutOfRangeAreShownWithinIt();
    void animationSwitchedOffOffersThreeNextTime();
    void closeKeepsEverything();

private:
    QTemporaryDir dir_;
};

namespace {

int Stored(const QString& key) {
    return tessaly::GetProfileInt(u"SYS"_s, key, -99);
}

QString EditText(CKansetDlg& dialog, const QString& name) {
    return dialog.findChild<tessaly::NumberEdit*>(name)->findChild<QLineEdit*>()->text();
}

void Type(CKansetDlg& dialog, const QString& name, const QString& text) {
    dialog.findChild<tessaly::NumberEdit*>(name)->findChild<QLineEdit*>()->setText(text);
}

template <typename Button>
Button* Find(CKansetDlg& dialog, const QString& textStart) {
    for (Button* button : dialog.findChildren<Button*>()) {
        if (button->text().startsWith(textStart)) return button;
    }
    return nullptr;
}

}  // namespace

void KansetDlgTest::typedSizesAreStoredWithinRange() {
    AppSettings app;
    CKansetDlg dialog(app);
    Type(dialog, u"width"_s, u"150"_s);
    Type(dialog, u"height"_s, u"5"_s);
    Find<QPushButton>(dialog, u"保存して終了"_s)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Stored(u"MaxImgW"_s), 100);
    QCOMPARE(Stored(u"MaxImgH"_s), 20);
}

void KansetDlgTest::storedValuesOutOfRangeAreShownWithinIt() {
    tessaly::WriteProfileInt(u"SYS"_s, u"MaxImgW"_s, 500);
    AppSettings app;
    app.speedAnime = 7;
    CKansetDlg dialog(app);
    QCOMPARE(EditText(dialog, u"width"_s), u"100"_s);
    QVERIFY(Find<QRadioButton>(dialog, u"速い"_s)->isChecked());
}

void KansetDlgTest::animationSwitchedOffOffersThreeNextTime() {
    AppSettings app;
    app.playAnime = 6;
    {
        CKansetDlg dialog(app);
        Find<QCheckBox>(dialog, u"3 "_s)->setChecked(false);
        dialog.accept();
    }
    QCOMPARE(app.playAnime, 0);
    QCOMPARE(Stored(u"PlayAnime"_s), 0);
    CKansetDlg next(app);
    QVERIFY(!Find<QCheckBox>(next, u"3 "_s)->isChecked());
    QCOMPARE(EditText(next, u"count"_s), u"3"_s);
}

void KansetDlgTest::closeKeepsEverything() {
    AppSettings app;
    CKansetDlg dialog(app);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        box->toggle();
    Type(dialog, u"width"_s, u"80"_s);
    Type(dialog, u"count"_s, u"9"_s);
    Find<QRadioButton>(dialog, u"遅い"_s)->setChecked(true);
    Find<QPushButton>(dialog, u"閉じる"_s)->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(tessaly::GetProfileString(u"SYS"_s, u"MaxImgW"_s).isEmpty());
    QVERIFY(tessaly::GetProfileString(u"SYS"_s, u"FirstOpen"_s).isEmpty());
    QCOMPARE(app.playAnime, AppSettings{}.playAnime);
    QCOMPARE(app.speedAnime, AppSettings{}.speedAnime);
    QCOMPARE(app.dspGuide, AppSettings{}.dspGuide);
}

QTEST_MAIN(KansetDlgTest)
#include "kanset_dlg_test.moc"
