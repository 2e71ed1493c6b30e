#include "app/help_dlg.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/about_dlg.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

using namespace Qt::StringLiterals;

class HelpDlgTest : public QObject {
    Q_OBJECT

private slots:
    void manualIsHandedToTheViewerOrReported_data();
    void manualIsHandedToTheViewerOrReported();
    void aboutBoxShowsTheHistoryNewestFirst();
};

void HelpDlgTest::manualIsHandedToTheViewerOrReported_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("viewerStarts");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("shown") << true << true << int(QDialog::Accepted) << QString();
    QTest::newRow("missing") << false << true << int(QDialog::Rejected)
                             << u"Manual.pdf\n実行ファイルと同じ場所に上記のファイルがありません"_s;
    QTest::newRow("no viewer") << true << false << int(QDialog::Rejected)
                               << u"ファイルのオープンに失敗しました"_s;
}

void HelpDlgTest::manualIsHandedToTheViewerOrReported() {
    QFETCH(bool, present);
    QFETCH(bool, viewerStarts);
    QFETCH(int, result);
    QFETCH(QString, message);
    tessaly::test::ScopedTempDir folder;
    const QString manual = folder.Path() + u"/Manual.pdf"_s;
    if (present) {
        QFile file(manual);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }
    QStringList viewed;
    tessaly::CHelpDlg dialog(nullptr, folder.Path(), [&](const QString& path) {
        viewed << path;
        return viewerStarts;
    });
    tessaly::test::MessageRecorder messages;

    QCOMPARE(dialog.exec(), result);
    QCOMPARE(viewed, present ? QStringList{manual} : QStringList{});
    if (message.isEmpty()) {
        QVERIFY(messages.Texts().empty());
        QCOMPARE(dialog.windowTitle(), u"Manual"_s);
    } else {
        QCOMPARE(messages.Texts().size(), size_t(1));
        QVERIFY(messages.Texts().front().endsWith(message));
    }
    QVERIFY(!dialog.isVisible());
}

void HelpDlgTest::aboutBoxShowsTheHistoryNewestFirst() {
    tessaly::CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), u"バージョン情報"_s);
    const QString history = dialog.HistoryEdit()->toPlainText();
    QVERIFY(history.startsWith(u"Ver. 1.03 2022.11.09"_s));
    QVERIFY(history.endsWith(u"Ver. 1.00 2013.10.05 新規作成\n\n"_s));
    QVERIFY(dialog.HistoryEdit()->isReadOnly());

    QPushButton* confirm = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == u"確認(&Y)"_s) confirm = button;
    }
    QVERIFY(confirm);
    QCOMPARE(confirm->toolTip(), u"バージョン情報ウィンドウを閉じて戻ります"_s);
    dialog.show();
    confirm->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(HelpDlgTest)
#include "help_dlg_test.moc"
