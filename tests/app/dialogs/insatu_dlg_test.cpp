#include "app/dialogs/insatu_dlg.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include "app/widgets/number_edit.h"
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

void ClickButton(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) button->click();
    }
}

QByteArray Contents(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void WriteContents(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
}

// The margin box captioned `caption` ("上", "下", "左", "右").
tessaly::NumberEdit* MarginEdit(QWidget& dialog, const QString& caption) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == caption) return qobject_cast<tessaly::NumberEdit*>(label->buddy());
    }
    return nullptr;
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
    void everyPrintToPdfAsksForTheFile_data();
    void everyPrintToPdfAsksForTheFile();
    void failedPrintIsReportedAndTheNextOneWorks();
    void marginsOfThePrinterSetupBecomeTheDialogsMargins_data();
    void marginsOfThePrinterSetupBecomeTheDialogsMargins();

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
    dialog.SetPdfFileChooserForTesting([&](const QString&) { return file; });
    dialog.show();
    QCOMPARE(dialog.Grid().Count(), allOne ? 1 : 4);
    ClickButton(dialog, u"印刷実行(&S)"_s);
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
    tessaly::NumberEdit* top = MarginEdit(dialog, u"上"_s);
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

void InsatuDlgTest::everyPrintToPdfAsksForTheFile_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("overwrite") << int(tessaly::kResultYes) << true;
    QTest::newRow("keep") << int(tessaly::kResultNo) << false;
}

void InsatuDlgTest::everyPrintToPdfAsksForTheFile() {
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    tessaly::WriteProfileInt(u"Insatu"_s, u"Hani"_s, 2);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = temp_.Path() + u"/asked.pdf"_s;
    QFile::remove(file);
    QStringList offered;
    const auto chooser = [&](const QString& suggested) {
        offered << suggested;
        return file;
    };
    {
        CInsatuDlg first(doc_, printer);
        first.SetPdfFileChooserForTesting(chooser);
        QCOMPARE(first.Print(), 1);
    }
    // The next print in the run asks again, offering the last name, and
    // asks before it overwrites the file.
    const QByteArray earlier = "the earlier print";
    WriteContents(file, earlier);
    messages_.Clear();
    messages_.QueueAnswer(answer);
    CInsatuDlg second(doc_, printer);
    second.SetPdfFileChooserForTesting(chooser);
    QCOMPARE(second.Print(), overwritten ? 1 : 0);
    QCOMPARE(offered, QStringList({QString(), file}));
    QCOMPARE(messages_.Texts(),
             std::vector<QString>{tessaly::LoadString(tessaly::kMsgFileExistsOverwrite)});
    QCOMPARE(Contents(file) == earlier, !overwritten);
}

void InsatuDlgTest::failedPrintIsReportedAndTheNextOneWorks() {
    tessaly::WriteProfileInt(u"Insatu"_s, u"Hani"_s, 2);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    // A folder that is a plain file cannot take the PDF.
    const QString plain = temp_.Path() + u"/plain"_s;
    WriteContents(plain, "plain");
    const QString good = temp_.Path() + u"/after.pdf"_s;
    QStringList answers{plain + u"/out.pdf"_s, good};
    CInsatuDlg dialog(doc_, printer);
    dialog.SetPdfFileChooserForTesting([&](const QString&) { return answers.takeFirst(); });
    dialog.show();
    messages_.Clear();
    QCOMPARE(dialog.Print(), 0);
    QVERIFY(dialog.isVisible());
    QCOMPARE(messages_.Messages().size(), std::size_t(1));
    QCOMPARE(messages_.Messages()[0].style, int(tessaly::kStyleStop));
    QVERIFY(messages_.Texts()[0].startsWith(plain + u"/out.pdf\n"_s));
    QCOMPARE(dialog.Print(), 1);
    QCOMPARE(PdfPages(good), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void InsatuDlgTest::marginsOfThePrinterSetupBecomeTheDialogsMargins_data() {
    QTest::addColumn<int>("unit");             // the setup dialog's unit list: 0 mm, 1 inch
    QTest::addColumn<QList<double>>("typed");  // left, right, top, bottom
    QTest::addColumn<QList<int>>("margins");   // mm, kept to 50 at most
    QTest::newRow("mm") << 0 << QList<double>{20, 15, 30, 12} << QList<int>{20, 15, 30, 12};
    QTest::newRow("inch") << 1 << QList<double>{1.0, 0.5, 2.5, 0.3} << QList<int>{25, 13, 50, 8};
}

void InsatuDlgTest::marginsOfThePrinterSetupBecomeTheDialogsMargins() {
    QFETCH(int, unit);
    QFETCH(QList<double>, typed);
    QFETCH(QList<int>, margins);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    CInsatuDlg dialog(doc_, printer);
    dialog.show();
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* setup = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
        if (!setup) return;
        auto* units = setup->findChild<QComboBox*>(u"unitCombo"_s);
        if (units && unit != 0) {
            units->setCurrentIndex(unit);
            Q_EMIT units->activated(unit);
        }
        const QStringList fields{u"leftMargin"_s, u"rightMargin"_s, u"topMargin"_s,
                                 u"bottomMargin"_s};
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (auto* field = setup->findChild<QDoubleSpinBox*>(fields[i]))
                field->setValue(typed[i]);
        }
        answered = true;
        setup->accept();
    });
    ClickButton(dialog, u"設定(&P)"_s);
    QVERIFY(answered);
    const QStringList captions{u"左"_s, u"右"_s, u"上"_s, u"下"_s};
    for (qsizetype i = 0; i < captions.size(); ++i) {
        tessaly::NumberEdit* edit = MarginEdit(dialog, captions[i]);
        QVERIFY(edit);
        QCOMPARE(edit->findChild<QLineEdit*>()->text(), QString::number(margins[i]));
    }
}

QTEST_MAIN(InsatuDlgTest)
#include "insatu_dlg_test.moc"
