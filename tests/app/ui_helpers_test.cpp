#include "app/ui_helpers.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct SeenDialog {
    bool shown = false;
    QString caption;
    QString directory;
    bool foldersOnly = false;
};

// Runs BrowseFolder and lets `act` answer the folder dialog it opens.
QString Browse(const QString& initial, const std::function<void(QFileDialog*)>& act,
               SeenDialog* seen) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        seen->shown = true;
        seen->caption = dialog->windowTitle();
        seen->directory = dialog->directory().absolutePath();
        seen->foldersOnly = dialog->fileMode() == QFileDialog::Directory &&
                            dialog->testOption(QFileDialog::ShowDirsOnly);
        act(dialog);
        QTimer::singleShot(3000, dialog, [dialog] { dialog->reject(); });
    });
    poll.start();
    return tessaly::BrowseFolder(nullptr, initial);
}

QStringList Column(const QTreeWidget& list, int column) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts << list.topLevelItem(i)->text(column);
    return texts;
}

}  // namespace

class UiHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void numberRowsRenumbersAfterRemoval();
    void browseFolderStartsAtAnExistingFolder_data();
    void browseFolderStartsAtAnExistingFolder();
    void browseFolderReturnsTheChosenFolder();
};

void UiHelpersTest::numberRowsRenumbersAfterRemoval() {
    tessaly::NumberRows(nullptr);
    QTreeWidget list;
    tessaly::NumberRows(&list);
    QCOMPARE(list.topLevelItemCount(), 0);
    list.setColumnCount(2);
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s, u"d"_s}) {
        new QTreeWidgetItem(&list, QStringList{u"?"_s, name});
    }
    auto* child = new QTreeWidgetItem(list.topLevelItem(0), QStringList{u"child"_s});
    delete list.takeTopLevelItem(1);

    tessaly::NumberRows(&list);
    QCOMPARE(Column(list, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(Column(list, 1), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
    QCOMPARE(child->text(0), u"child"_s);

    // Numbers of more than one digit.
    for (int i = 0; i < 9; ++i)
        new QTreeWidgetItem(&list, QStringList{QString(), u"x"_s});
    tessaly::NumberRows(&list);
    QCOMPARE(list.topLevelItem(11)->text(0), u"12"_s);
}

void UiHelpersTest::browseFolderStartsAtAnExistingFolder_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("startsThere");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("missing") << u"/nonexistent/tessaly/folder"_s << false;
    QTest::newRow("a file") << QCoreApplication::applicationFilePath() << false;
    QTest::newRow("a folder") << QDir::tempPath() << true;
}

void UiHelpersTest::browseFolderStartsAtAnExistingFolder() {
    QFETCH(QString, initial);
    QFETCH(bool, startsThere);
    SeenDialog seen;
    const QString chosen = Browse(
        initial, [](QFileDialog* dialog) { dialog->reject(); }, &seen);
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, u"フォルダの指定"_s);
    QVERIFY(seen.foldersOnly);
    const QString expected = startsThere ? QDir(initial).absolutePath() : QDir::homePath();
    QCOMPARE(seen.directory, expected);
    QVERIFY(chosen.isEmpty());
}

void UiHelpersTest::browseFolderReturnsTheChosenFolder() {
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    QVERIFY(QDir(parent.path()).mkdir(u"タイル"_s));
    const QString target = QDir(parent.path()).filePath(u"タイル"_s);

    SeenDialog seen;
    const QString chosen = Browse(
        parent.path(),
        [&](QFileDialog* dialog) {
            dialog->setDirectory(target);
            static_cast<QDialog*>(dialog)->accept();  // as the Choose button does
        },
        &seen);
    QVERIFY(seen.shown);
    QCOMPARE(QDir(chosen).canonicalPath(), QDir(target).canonicalPath());
}

QTEST_MAIN(UiHelpersTest)
#include "ui_helpers_test.moc"
