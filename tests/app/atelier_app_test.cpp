#include "app/atelier_app.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "document/document.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "print/printer_settings.h"
#include "services/app_settings.h"
#include "services/message_service.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

using namespace Qt::StringLiterals;
using tessaly::CAtelierApp;
using tessaly::CurrentSettings;
using tessaly::GetProfileInt;
using tessaly::GetProfileString;
using tessaly::WriteProfileInt;
using tessaly::WriteProfileString;

namespace {

// A document and its file commands, outside any application.
struct FileCommands {
    FileCommands() { QVERIFY(doc.AllocateNodeTables() && doc.ResetDocument()); }

    tessaly::EditedDocument edited;
    tessaly::Document& doc = edited.Doc();
    tessaly::RecentFileList recent;
    tessaly::CAtelierDoc atelierDoc{edited, recent};
};

}  // namespace

class AtelierAppTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Start-up and exit.
    void startsWithDefaultsWhenNothingIsStored();
    void printerTakesTheStoredPaperAndOrientation_data();
    void printerTakesTheStoredPaperAndOrientation();
    void startUpReopensTheRecentDocumentOnlyWhenAsked_data();
    void startUpReopensTheRecentDocumentOnlyWhenAsked();
    void unreadableCommandLineDocumentFailsStartUp();
    void exitWritesTheSettings();

    // The document's file commands.
    void saveModifiedFollowsTheAnswer_data();
    void saveModifiedFollowsTheAnswer();
    void titleFollowsThePath();

    // The recent-file list.
    void recentListKeepsSixteenMostRecentFirst();
    void recentListRoundTripsThroughTheStore();

private:
    // A saved document of `nodes` nodes in the temporary folder.
    QString SaveDocumentWithNodes(const QString& name, int nodes);

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::test::MessageRecorder> messages_;
};

void AtelierAppTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    messages_ = std::make_unique<tessaly::test::MessageRecorder>();
    tessaly::UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_s));
    CurrentSettings() = tessaly::AppSettings{};
}

void AtelierAppTest::cleanup() {
    tessaly::UseSettingsFile({});
    CurrentSettings() = tessaly::AppSettings{};
    messages_.reset();
    temp_.reset();
}

QString AtelierAppTest::SaveDocumentWithNodes(const QString& name, int nodes) {
    tessaly::Document doc;
    if (!doc.AllocateNodeTables() || !doc.ResetDocument()) return {};
    tessaly::test::FillDocument(doc, nodes);
    const QString path = QDir(temp_->Path()).filePath(name);
    return tessaly::SaveDocument(doc, path) ? path : QString();
}

void AtelierAppTest::startsWithDefaultsWhenNothingIsStored() {
    // Something else in the settings must not confuse the defaults.
    CurrentSettings().playAnime = 0;
    CurrentSettings().multiMaX = 0.5f;
    CAtelierApp app;
    QVERIFY(app.Start({}));
    QVERIFY(app.MainFrame());
    QVERIFY(app.MainFrame()->isVisible());

    const tessaly::AppSettings& s = CurrentSettings();
    QCOMPARE(s.playAnime, 3);
    QCOMPARE(s.speedAnime, 0);
    QCOMPARE(s.dspGuide, 1);
    QCOMPARE(s.multiCntX, 1);
    QCOMPARE(s.multiCntY, 1);
    QCOMPARE(s.multiMaX, 0.01f);
    QCOMPARE(s.multiMaY, 0.01f);
    QCOMPARE(s.multiExt, 0);

    // A new, empty document; the printer is prepared with the stored paper.
    QCOMPARE(app.AtelierDoc().PathName(), QString());
    QCOMPARE(app.Doc().State().nodeCount, 0);
    QVERIFY(messages_->Messages().empty());
    QCOMPARE(app.Printer().Printer().pageLayout().pageSize().id(), QPageSize::A4);

    // Backups are on: saving over a document keeps the previous one.
    const QString path = QDir(temp_->Path()).filePath(u"backup.tsd"_s);
    QVERIFY(tessaly::SaveDocument(app.Doc(), path));
    QVERIFY(tessaly::SaveDocument(app.Doc(), path));
    QVERIFY(QFile::exists(tessaly::BackupPathFor(path)));
}

void AtelierAppTest::printerTakesTheStoredPaperAndOrientation_data() {
    QTest::addColumn<QVariant>("paperSize");
    QTest::addColumn<QVariant>("orientation");
    QTest::addColumn<int>("pageSizeId");
    QTest::addColumn<int>("pageOrientation");
    const QVariant none;
    QTest::newRow("nothing stored: A4 portrait")
        << none << none << int(QPageSize::A4) << int(QPageLayout::Portrait);
    QTest::newRow("letter, landscape")
        << QVariant(1) << QVariant(2) << int(QPageSize::Letter) << int(QPageLayout::Landscape);
    QTest::newRow("A3, orientation 3 is portrait")
        << QVariant(8) << QVariant(3) << int(QPageSize::A3) << int(QPageLayout::Portrait);
    QTest::newRow("A5, orientation 0 is portrait")
        << QVariant(11) << QVariant(0) << int(QPageSize::A5) << int(QPageLayout::Portrait);
    QTest::newRow("B4 is the JIS size")
        << QVariant(12) << QVariant(2) << int(QPageSize::JisB4) << int(QPageLayout::Landscape);
    QTest::newRow("unknown paper is A4")
        << QVariant(999) << QVariant(-1) << int(QPageSize::A4) << int(QPageLayout::Portrait);
}

void AtelierAppTest::printerTakesTheStoredPaperAndOrientation() {
    QFETCH(QVariant, paperSize);
    QFETCH(QVariant, orientation);
    QFETCH(int, pageSizeId);
    QFETCH(int, pageOrientation);
    if (paperSize.isValid()) WriteProfileInt(u"Insatu"_s, u"PaperSize"_s, paperSize.toInt());
    if (orientation.isValid()) WriteProfileInt(u"Insatu"_s, u"Orientation"_s, orientation.toInt());

    tessaly::PrinterSettings printer;
    printer.Prepare();
    const QPageLayout layout = printer.Printer().pageLayout();
    QCOMPARE(int(layout.pageSize().id()), pageSizeId);
    QCOMPARE(int(layout.orientation()), pageOrientation);
    // Printing needs a usable printer, real or PDF.
    QVERIFY(printer.PrintsToPdf() || !printer.Printer().printerName().isEmpty());
}

void AtelierAppTest::startUpReopensTheRecentDocumentOnlyWhenAsked_data() {
    QTest::addColumn<int>("firstOpen");   // 0: not stored
    QTest::addColumn<QString>("listed");  // the recent document: none, saved or gone
    QTest::addColumn<bool>("named");      // named.tsd on the command line
    QTest::addColumn<QString>("opened");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("console");
    QTest::newRow("asked, empty list") << 1 << u"none"_s << false << QString() << 0 << 0 << false;
    QTest::newRow("asked") << 1 << u"saved"_s << false << u"recent.tsd"_s << 5 << 0 << true;
    QTest::newRow("not stored is off") << 0 << u"saved"_s << false << QString() << 0 << 0 << false;
    QTest::newRow("2 is off") << 2 << u"saved"_s << false << QString() << 0 << 0 << false;
    // A recent document that is gone is reported; the editor still starts.
    QTest::newRow("asked, gone") << 1 << u"gone"_s << false << QString() << 0 << 1 << true;
    QTest::newRow("the command line wins")
        << 1 << u"saved"_s << true << u"named.tsd"_s << 2 << 0 << false;
}

void AtelierAppTest::startUpReopensTheRecentDocumentOnlyWhenAsked() {
    QFETCH(int, firstOpen);
    QFETCH(QString, listed);
    QFETCH(bool, named);
    QFETCH(QString, opened);
    QFETCH(int, nodes);
    QFETCH(int, messages);
    QFETCH(bool, console);
    const QString older = SaveDocumentWithNodes(u"older.tsd"_s, 1);
    const QString recent = SaveDocumentWithNodes(u"recent.tsd"_s, 5);
    const QString namedPath = SaveDocumentWithNodes(u"named.tsd"_s, 2);
    QVERIFY(!older.isEmpty() && !recent.isEmpty() && !namedPath.isEmpty());
    if (listed != u"none"_s) {
        WriteProfileString(u"Recent File List"_s, u"File1"_s, recent);
        WriteProfileString(u"Recent File List"_s, u"File2"_s, older);
    }
    if (listed == u"gone"_s) QVERIFY(QFile::remove(recent));
    if (firstOpen != 0) WriteProfileInt(u"SYS"_s, u"FirstOpen"_s, firstOpen);
    WriteProfileInt(u"Last"_s, u"DspMosaic"_s, 1);

    CAtelierApp app;
    QVERIFY(app.Start(named ? QStringList{namedPath} : QStringList{}));
    QVERIFY(app.MainFrame() && app.MainFrame()->isVisible());
    const QString path =
        opened.isEmpty() ? QString() : QDir(temp_->Path()).absoluteFilePath(opened);
    QCOMPARE(app.AtelierDoc().PathName(), path);
    QCOMPARE(app.Doc().State().nodeCount, nodes);
    QVERIFY(!app.Doc().IsModified());
    QCOMPARE(app.MosaicConsoleRequested(), console);
    QCOMPARE(app.MainFrame()->MosaicConsoleShown(), console);
    QCOMPARE(messages_->Messages().size(), size_t(messages));
    // Reopening does not reorder the list; a named document goes in front.
    if (listed == u"saved"_s) {
        QCOMPARE(app.Recent().Files(),
                 named ? QStringList({path, recent, older}) : QStringList({recent, older}));
    }
}

void AtelierAppTest::unreadableCommandLineDocumentFailsStartUp() {
    const QString missing = QDir(temp_->Path()).filePath(u"missing.tsd"_s);
    QFile garbage(QDir(temp_->Path()).filePath(u"garbage.tsd"_s));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a cabinet at all");
    garbage.close();

    for (const QString& path : {missing, garbage.fileName()}) {
        messages_->Clear();
        CAtelierApp app;
        QVERIFY2(!app.Start({path}), qPrintable(path));
        QVERIFY(!app.MainFrame());
        QVERIFY(!messages_->Messages().empty());
        QCOMPARE(messages_->Messages().front().style, int(tessaly::kStyleStop));
    }
}

void AtelierAppTest::exitWritesTheSettings() {
    const QString document = SaveDocumentWithNodes(u"kept.tsd"_s, 1);
    WriteProfileInt(u"SYS"_s, u"MultiExt"_s, 2);
    // Multi-cut margins are stored in thousandths.
    WriteProfileInt(u"SYS"_s, u"MultiMaX"_s, 25);
    CAtelierApp app;
    QVERIFY(app.Start({document}));
    QCOMPARE(CurrentSettings().multiMaX, 0.025f);
    CurrentSettings().playAnime = 0;
    CurrentSettings().speedAnime = 4;
    CurrentSettings().dspGuide = 0;
    CurrentSettings().multiCntX = 5;
    CurrentSettings().multiMaY = 0.125f;

    app.Exit();
    QVERIFY(!app.MainFrame());
    QCOMPARE(GetProfileInt(u"SYS"_s, u"PlayAnime"_s, -1), 0);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"SpeedAnime"_s, -1), 4);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"DspGuide"_s, -1), 0);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"MultiCntX"_s, -1), 5);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"MultiCntY"_s, -1), 1);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"MultiMaX"_s, -1), 25);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"MultiMaY"_s, -1), 125);
    QCOMPARE(GetProfileInt(u"SYS"_s, u"MultiExt"_s, -1), 2);
    QCOMPARE(GetProfileInt(u"Last"_s, u"DspMosaic"_s, -1), 0);
    QCOMPARE(GetProfileString(u"Recent File List"_s, u"File1"_s),
             QFileInfo(document).absoluteFilePath());
}

void AtelierAppTest::saveModifiedFollowsTheAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("mayDiscard");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes saves") << int(tessaly::kResultYes) << true << true;
    QTest::newRow("no discards") << int(tessaly::kResultNo) << true << false;
    QTest::newRow("cancel keeps") << int(tessaly::kResultCancel) << false << false;
}

void AtelierAppTest::saveModifiedFollowsTheAnswer() {
    QFETCH(int, answer);
    QFETCH(bool, mayDiscard);
    QFETCH(bool, saved);
    const QString path = SaveDocumentWithNodes(u"work.tsd"_s, 2);
    FileCommands files;
    tessaly::Document& doc = files.doc;
    tessaly::CAtelierDoc& atelierDoc = files.atelierDoc;

    // Nothing to ask about an unmodified document.
    QVERIFY(atelierDoc.OpenPath(nullptr, path));
    QVERIFY(atelierDoc.SaveModified(nullptr));
    QVERIFY(messages_->Messages().empty());

    tessaly::test::FillDocument(doc, 1, false);
    doc.SetModified();
    messages_->QueueAnswer(answer);
    QCOMPARE(atelierDoc.SaveModified(nullptr), mayDiscard);
    QCOMPARE(messages_->Messages().size(), size_t{1});
    QCOMPARE(messages_->Messages().front().style, int(tessaly::kStyleYesNoCancel));
    QVERIFY(messages_->Messages().front().text.contains(u"work.tsd"_s));
    QCOMPARE(doc.IsModified(), !saved);

    tessaly::Document reread;
    QVERIFY(reread.AllocateNodeTables() && reread.ResetDocument());
    QVERIFY(tessaly::OpenDocument(reread, path));
    QCOMPARE(reread.State().nodeCount, saved ? 3 : 2);
}

void AtelierAppTest::titleFollowsThePath() {
    const QString first = SaveDocumentWithNodes(u"first.tsd"_s, 1);
    const QString second = SaveDocumentWithNodes(u"二番目.TSD"_s, 1);
    FileCommands files;
    tessaly::CAtelierDoc& atelierDoc = files.atelierDoc;
    QSignalSpy titleChanges(&atelierDoc, &tessaly::CAtelierDoc::titleChanged);

    QCOMPARE(atelierDoc.Title(), u"無題のファイル"_s);
    QVERIFY(atelierDoc.OpenPath(nullptr, first));
    QCOMPARE(atelierDoc.Title(), u"first.tsd"_s);
    QVERIFY(atelierDoc.OpenPath(nullptr, second));
    QCOMPARE(atelierDoc.Title(), u"二番目.TSD"_s);
    QCOMPARE(atelierDoc.PathName(), QFileInfo(second).absoluteFilePath());
    QCOMPARE(titleChanges.size(), 2);

    // A failed open keeps the document and its title.
    QVERIFY(!atelierDoc.OpenPath(nullptr, QDir(temp_->Path()).filePath(u"gone.tsd"_s)));
    QCOMPARE(atelierDoc.Title(), u"二番目.TSD"_s);

    QVERIFY(atelierDoc.FileNew(nullptr));
    QCOMPARE(atelierDoc.Title(), u"無題のファイル"_s);
    QCOMPARE(atelierDoc.PathName(), QString());
}

void AtelierAppTest::recentListKeepsSixteenMostRecentFirst() {
    tessaly::RecentFileList recent;
    for (int i = 1; i <= 20; ++i)
        recent.Add(u"/docs/%1.tsd"_s.arg(i));
    QCOMPARE(recent.Files().size(), 16);
    QCOMPARE(recent.Files().front(), u"/docs/20.tsd"_s);
    QCOMPARE(recent.Files().back(), u"/docs/5.tsd"_s);

    // A listed path moves up instead of appearing twice.
    recent.Add(u"/docs/10.tsd"_s);
    QCOMPARE(recent.Files().size(), 16);
    QCOMPARE(recent.Files().front(), u"/docs/10.tsd"_s);
    QCOMPARE(recent.Files().at(1), u"/docs/20.tsd"_s);
    QCOMPARE(recent.Files().back(), u"/docs/5.tsd"_s);

    recent.Remove(u"/docs/20.tsd"_s);
    QCOMPARE(recent.Files().size(), 15);
    QCOMPARE(recent.Files().at(1), u"/docs/19.tsd"_s);
}

void AtelierAppTest::recentListRoundTripsThroughTheStore() {
    tessaly::RecentFileList full;
    for (int i = 1; i <= 16; ++i)
        full.Add(u"/docs/%1 ファイル.tsd"_s.arg(i));
    full.Save();
    QCOMPARE(GetProfileString(u"Recent File List"_s, u"File1"_s), u"/docs/16 ファイル.tsd"_s);
    QCOMPARE(GetProfileString(u"Recent File List"_s, u"File16"_s), u"/docs/1 ファイル.tsd"_s);

    tessaly::RecentFileList loaded;
    loaded.Load();
    QCOMPARE(loaded.Files(), full.Files());

    // A shorter list leaves no stale entries behind.
    tessaly::RecentFileList shorter;
    shorter.Add(u"/docs/a.tsd"_s);
    shorter.Add(u"/docs/b.tsd"_s);
    shorter.Save();
    loaded.Load();
    QCOMPARE(loaded.Files(), QStringList({u"/docs/b.tsd"_s, u"/docs/a.tsd"_s}));
    QCOMPARE(GetProfileString(u"Recent File List"_s, u"File3"_s), QString());
}

QTEST_MAIN(AtelierAppTest)
#include "atelier_app_test.moc"
