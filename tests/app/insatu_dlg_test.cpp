#include "app/insatu_dlg.h"
#include "app/widgets/number_edit.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "document/document.h"
#include "resources/string_table.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

using namespace Qt::StringLiterals;
using tessaly::CInsatuDlg;

namespace {

int PdfPages(const QString& file) {
    QProcess pdfinfo;
    pdfinfo.start(u"pdfinfo"_s, {file});
    if (!pdfinfo.waitForFinished(10000)) return -1;
    const auto match = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(
        QString::fromLatin1(pdfinfo.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

class InsatuDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        tessaly::UseSettingsFile(temp_.Path() + u"/settings.ini"_s);
        QVERIFY(doc_.AllocateNodeTables());
        tessaly::test::FillDocument(doc_, 3);
        doc_.State().canvasWidth = 1000;
        doc_.State().canvasHeight = 1000;
    }
    void printsTheChosenPagesToPdf_data();
    void printsTheChosenPagesToPdf();
    void typedMarginIsKeptWithinItsRange_data();
    void typedMarginIsKeptWithinItsRange();
    void storedPlacementBeyondTheScreenIsIgnored_data();
    void storedPlacementBeyondTheScreenIsIgnored();
    void printerThatCannotBeUsedStopsPrinting();

private:
    tessaly::test::ScopedTempDir temp_;
    tessaly::test::MessageRecorder messages_;
    tessaly::Document doc_;
};

void InsatuDlgTest::printsTheChosenPagesToPdf_data() {
    QTest::addColumn<int>("hani");
    QTest::addColumn<int>("allOne");
    QTest::addColumn<int>("pages");
    // A 1000-pixel canvas on A4 with the default margins takes 2 x 2 pages.
    QTest::newRow("all pages") << 1 << 0 << 4;
    QTest::newRow("current page") << 2 << 0 << 1;
    QTest::newRow("one fitted page") << 3 << 1 << 1;
}

void InsatuDlgTest::printsTheChosenPagesToPdf() {
    QFETCH(int, hani);
    QFETCH(int, allOne);
    QFETCH(int, pages);
    tessaly::WriteProfileInt(u"Insatu"_s, u"Hani"_s, hani);
    tessaly::WriteProfileInt(u"Insatu"_s, u"AllOne"_s, allOne);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString file = temp_.Path() + u"/out.pdf"_s;
    QFile::remove(file);
    printer.setOutputFileName(file);

    CInsatuDlg dialog(doc_, printer);
    dialog.show();
    QCOMPARE(dialog.Grid().Count(), allOne ? 1 : 4);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == u"印刷実行(&S)"_s) button->click();
    }
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(PdfPages(file), pages);
    QVERIFY(messages_.Messages().empty());
}

void InsatuDlgTest::typedMarginIsKeptWithinItsRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("becomesMinimum");  // otherwise the largest margin, 50
    QTest::newRow("above 50") << u"60"_s << false;
    QTest::newRow("zero") << u"0"_s << true;
    QTest::newRow("letters") << u"ab"_s << true;
}

void InsatuDlgTest::typedMarginIsKeptWithinItsRange() {
    QFETCH(QString, typed);
    QFETCH(bool, becomesMinimum);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    CInsatuDlg dialog(doc_, printer);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    tessaly::NumberEdit* top = nullptr;
    for (QLabel* caption : dialog.findChildren<QLabel*>()) {
        if (caption->text() == u"上"_s) top = qobject_cast<tessaly::NumberEdit*>(caption->buddy());
    }
    QVERIFY(top);
    top->setFocus();
    top->selectAll();
    QTest::keyClicks(top, typed);
    // A number below the range is put right when the box is left.
    top->clearFocus();
    const int expected = becomesMinimum ? top->Minimum() : 50;
    QCOMPARE(top->findChild<QLineEdit*>()->text(), QString::number(expected));
}

void InsatuDlgTest::storedPlacementBeyondTheScreenIsIgnored_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("applied");
    QTest::newRow("on the screen") << 10 << 20 << true;
    QTest::newRow("right of the screen") << 100000 << 20 << false;
    QTest::newRow("below the screen") << 10 << 100000 << false;
}

void InsatuDlgTest::storedPlacementBeyondTheScreenIsIgnored() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, applied);
    const QSize stored(1500, 1100);
    tessaly::WriteProfileInt(u"Insatu"_s, u"PX"_s, x);
    tessaly::WriteProfileInt(u"Insatu"_s, u"PY"_s, y);
    tessaly::WriteProfileInt(u"Insatu"_s, u"SX"_s, stored.width());
    tessaly::WriteProfileInt(u"Insatu"_s, u"SY"_s, stored.height());
    tessaly::WriteProfileInt(u"Insatu"_s, u"Zoomed"_s, 0);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    CInsatuDlg dialog(doc_, printer);
    QCOMPARE(dialog.pos() == QPoint(x, y), applied);
    QCOMPARE(dialog.size() == stored, applied);
}

void InsatuDlgTest::printerThatCannotBeUsedStopsPrinting() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = temp_.Path() + u"/never.pdf"_s;
    printer.setOutputFileName(file);
    messages_.Clear();
    CInsatuDlg dialog(doc_, printer, nullptr,
                      [](const QPrinter&) -> std::optional<tessaly::PrinterMetrics> { return {}; });
    QCOMPARE(dialog.Print(), 0);
    QVERIFY(!QFile::exists(file));
    QVERIFY(!messages_.Messages().empty());
    for (const QString& text : messages_.Texts())
        QVERIFY(text.endsWith(tessaly::LoadString(tessaly::kMsgPrinterDcFailed)));
}

QTEST_MAIN(InsatuDlgTest)
#include "insatu_dlg_test.moc"
