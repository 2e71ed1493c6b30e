#include "app/dialogs/help_dlg.h"

#include <QFile>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPdfWriter>
#include <QTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/dialogs/about_dlg.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

using namespace Qt::StringLiterals;

class HelpDlgTest : public QObject {
    Q_OBJECT

private slots:
    void manualIsShownOrReported_data();
    void manualIsShownOrReported();
    void aboutBoxShowsTheHistoryNewestFirst();
};

void HelpDlgTest::manualIsShownOrReported_data() {
    QTest::addColumn<QByteArray>("content");  // empty: no file; "pdf": a real two-page PDF
    QTest::addColumn<QString>("message");
    QTest::newRow("shown") << QByteArray("pdf") << QString();
    QTest::newRow("missing") << QByteArray()
                             << u"Manual.pdf\n実行ファイルと同じ場所に上記のファイルがありません"_s;
    QTest::newRow("not a PDF") << QByteArray("%PDF-1.4\n")
                               << u"ファイルのオープンに失敗しました"_s;
}

void HelpDlgTest::manualIsShownOrReported() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    tessaly::test::ScopedTempDir folder;
    const QString manual = folder.Path() + u"/Manual.pdf"_s;
    if (content == "pdf") {
        QPdfWriter writer(manual);
        QPainter painter(&writer);
        painter.drawText(100, 100, u"取扱説明書"_s);
        writer.newPage();
    } else if (!content.isEmpty()) {
        QFile file(manual);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    tessaly::CHelpDlg dialog(nullptr, folder.Path());
    tessaly::test::MessageRecorder messages;
    bool shown = false;
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.isVisible();
        dialog.reject();
    });

    dialog.exec();
    QCOMPARE(shown, message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(messages.Texts().empty());
        QCOMPARE(dialog.windowTitle(), u"Manual"_s);
        QCOMPARE(dialog.View()->document()->pageCount(), 2);
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
