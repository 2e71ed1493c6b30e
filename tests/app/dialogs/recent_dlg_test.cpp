#include "app/dialogs/recent_dlg.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "services/recent_files.h"

using namespace Qt::StringLiterals;
using tessaly::CRecentDlg;
using tessaly::RecentFileList;

// The recent-files dialog: which rows it shows and what deleting them takes
// off the list.
class RecentDlgTest : public QObject {
    Q_OBJECT

private slots:
    void deletingCheckedRowsRenumbersTheRest();
    void deletingAllEmptiesTheList();
};

namespace {

RecentFileList FiveFiles() {
    RecentFileList recent;
    for (const char* name : {"/e.tsd", "/d.tsd", "/c.tsd", "/b.tsd", "/a.tsd"})
        recent.Add(QString::fromLatin1(name));
    return recent;
}

QStringList Column(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

void Click(CRecentDlg& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) return button->click();
    }
    QFAIL(qPrintable(u"no button "_s + text));
}

}  // namespace

void RecentDlgTest::deletingCheckedRowsRenumbersTheRest() {
    RecentFileList recent = FiveFiles();
    CRecentDlg dialog(recent);
    QTreeWidget* list = dialog.List();
    QCOMPARE(Column(list, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    list->topLevelItem(1)->setCheckState(0, Qt::Checked);
    list->topLevelItem(3)->setCheckState(0, Qt::Checked);
    Click(dialog, u"チェックのある履歴を削除(&P)"_s);
    const QStringList left{u"/a.tsd"_s, u"/c.tsd"_s, u"/e.tsd"_s};
    QCOMPARE(Column(list, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(Column(list, 1), left);
    QCOMPARE(recent.Files(), left);
}

void RecentDlgTest::deletingAllEmptiesTheList() {
    RecentFileList recent = FiveFiles();
    CRecentDlg dialog(recent);
    Click(dialog, u"すべての履歴を削除(&A)"_s);
    QCOMPARE(dialog.List()->topLevelItemCount(), 0);
    QVERIFY(recent.Files().isEmpty());
    CRecentDlg empty(recent);
    QCOMPARE(empty.List()->topLevelItemCount(), 0);
}

QTEST_MAIN(RecentDlgTest)
#include "recent_dlg_test.moc"
