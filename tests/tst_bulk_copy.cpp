#include "graphics/dp_max_bank_num_form.h"
#include "graphics/logo_names_list_form.h"
#include "graphics/logo_view_form.h"
#include "graphics/multi_load_from_list_view.h"
#include "shell/library_flow.h"
#include "shell/placement_flow.h"
#include "support/logo_rig.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using vgfx::CopyDestination;
using Msg = vui::Message;
using Shown = PromptRecorder::ShownList;

namespace
{

// Printer logos 0..count-1, named "L0", "L1", ..., listed as the library selected them.
vlink::LogoNames printerLogos(LogoRig &rig, int count)
{
    vlink::LogoNames names;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = "L" + QByteArray::number(i);
        rig.stored(vgfx::LogoStore::Printer, i) = logoRecord(name);
        names.append({i, name});
    }
    return names;
}

// The bulk copy of the names to the destination from number `first`, as Load runs it.
void bulkCopy(LogoRig &rig, const vlink::LogoNames &names, CopyDestination to, int first = 0)
{
    vgfx::TMultiLoadFromListView form(rig.parts.logoContext(), names, to);
    child<QLineEdit>(form, "FirstLogoNumEdit")->setText(QString::number(first));
    click(form, "BtLoad");
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestBulkCopy : public QObject
{
    Q_OBJECT

private slots:
    void pastTheLastNumberRefusedBeforeSending();
    void failedLogoReportedAndTheCopyGoesOn();
    void depotToDepotCopyTakesTheBankSet();
    void aBankThatCannotBeSetStopsTheCopyWithoutOk_data();
    void aBankThatCannotBeSetStopsTheCopyWithoutOk();
    void filesNamedSafelyAndNeverOverwritten();
    void libraryDeletesCopiesAndListsAgain();
    void depotHighestBankAndVersion();
    void readingListsEveryEntryThenAsksForTheLibrary();
    void doubleClickOpensTheLogoInTheCompactDialog();
};

// 240 + 10 ends on the Depot's last logo 249; one more would not fit.
void TestBulkCopy::pastTheLastNumberRefusedBeforeSending()
{
    LogoRig rig;
    const vlink::LogoNames names = printerLogos(rig, 10);
    bulkCopy(rig, names, CopyDestination::Depot, 241);
    QCOMPARE(rig.prompts.beeps, 1);
    QVERIFY(rig.sent().isEmpty() && rig.prompts.messages.isEmpty());
    bulkCopy(rig, names, CopyDestination::Depot, 240);
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    for (int i = 0; i < 10; ++i)
        QCOMPARE(rig.stored(vgfx::LogoStore::Depot, 240 + i),
                 logoRecord("L" + QByteArray::number(i)));
    // From the printer to the Depot: neither list is the one to refresh.
    QCOMPARE(rig.mainWindow.received, QList<vui::Message>{vui::Message::MultiLoadClose});
}

// Read from the bank listed, written to the bank set, and the Depot left on the bank listed.
// Arrows alone choose nothing.
void TestBulkCopy::depotToDepotCopyTakesTheBankSet()
{
    for (const bool set : {true, false}) {
        LogoRig rig;
        rig.logos.depotView = rig.logos.depotTarget = true;
        rig.stored(vgfx::LogoStore::Depot, 1) = logoRecord("ONE");
        rig.stored(vgfx::LogoStore::Depot, 2) = logoRecord("TWO");
        vgfx::TMultiLoadFromListView form(rig.parts.logoContext(), {{1, "ONE"}, {2, "TWO"}},
                                          CopyDestination::Depot);
        child<QLineEdit>(form, "FirstLogoNumEdit")->setText(QStringLiteral("10"));
        click(form, "BankNumUp", 3);
        if (set)
            click(form, "BtBankSet");
        click(form, "BtLoad");
        const int bank = set ? 3 : 0;
        QCOMPARE(rig.stored(vgfx::LogoStore::Depot, 10, bank), logoRecord("ONE"));
        QCOMPARE(rig.stored(vgfx::LogoStore::Depot, 11, bank), logoRecord("TWO"));
        QCOMPARE(rig.stored(vgfx::LogoStore::Depot, 10, 3 - bank), QByteArray());
        QCOMPARE(rig.device.logos().bank, 0);
        QCOMPARE(rig.prompts.messages, Shown{okShown});
    }
}

void TestBulkCopy::aBankThatCannotBeSetStopsTheCopyWithoutOk_data()
{
    QTest::addColumn<int>("failing"); // which bank set goes unechoed, from 1
    QTest::newRow("the source bank") << 1;
    QTest::newRow("the destination bank") << 2;
}

void TestBulkCopy::aBankThatCannotBeSetStopsTheCopyWithoutOk()
{
    QFETCH(int, failing);
    LogoRig rig;
    rig.logos.depotView = rig.logos.depotTarget = true;
    rig.port.expectProtocolErrors(-1);
    const QByteArray bankSet = QByteArray::fromHex("122353");
    rig.port.onRead = [&rig, failing, bankSet] {
        const QByteArray &sent = rig.port.written();
        if (sent.endsWith(bankSet) && sent.count(bankSet) == failing)
            rig.device.faults().dropEchoAt = rig.device.received().size();
    };
    vgfx::TMultiLoadFromListView form(rig.parts.logoContext(), {{1, "ONE"}},
                                      CopyDestination::Depot);
    click(form, "BankNumUp", 3);
    click(form, "BtBankSet");
    click(form, "BtLoad");
    QCOMPARE(rig.prompts.messages, (Shown{{"BankNumSet Error", "Error"}}));
}

// Each failure is reported, and no "Ok" follows them.
void TestBulkCopy::failedLogoReportedAndTheCopyGoesOn()
{
    const struct {
        const char *name;
        bool fromDepot;
        CopyDestination to;
        const char *failure;
        Msg posted; // before the close
    } rows[] = {
        {"printer", false, CopyDestination::Printer, "PrinterLogo Write Error", Msg::MultiLoadOK},
        {"Depot", true, CopyDestination::Depot, "DPLogo Write Error", Msg::DPMultiLoadOK},
    };
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.logos.depotView = rig.logos.depotTarget = row.fromDepot;
        rig.device.faults().logoWriteReply = 0x00;
        bulkCopy(rig, {{1, "A"}, {2, "B"}, {3, "C"}}, row.to, 5);
        const PromptRecorder::Shown failure{QString::fromLatin1(row.failure), "Error"};
        QCOMPARE(rig.prompts.messages, (Shown{failure, failure, failure}));
        QCOMPARE(rig.mainWindow.received, (QList<Msg>{row.posted, Msg::MultiLoadClose}));
    });
}

// Names a file cannot hold fall back to "logo" and the number; a name taken gets " (2)", " (3)".
void TestBulkCopy::filesNamedSafelyAndNeverOverwritten()
{
    LogoRig rig;
    rig.stored(vgfx::LogoStore::Printer, 1) = logoRecord("a/b");
    rig.stored(vgfx::LogoStore::Printer, 2) = logoRecord(" X");
    rig.stored(vgfx::LogoStore::Printer, 3) = logoRecord("X");
    const QString old = writeFile(rig.file("X.bmp"), "old");
    rig.prompts.chooseFiles({rig.file("chosen.bmp")});
    bulkCopy(rig, {{1, "a/b"}, {2, " X"}, {3, "X"}}, CopyDestination::Files);
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    for (const char *made : {"logo1.bmp", "X (2).bmp", "X (3).bmp"})
        QCOMPARE(QImage(rig.file(made)).size(), QSize(2, 8));
    QFile kept(old);
    QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "old");
    QVERIFY(!QFile::exists(rig.file("chosen.bmp")));
}

// The printer library: three deletes with their pauses, then a bulk copy after which the library
// opens again on the fresh list.
void TestBulkCopy::libraryDeletesCopiesAndListsAgain()
{
    LogoRig rig;
    printerLogos(rig, 4);
    vshell::LibraryFlow library(rig.parts.logoContext(), rig.modal, nullptr, rig.flow);
    rig.mainWindow.answer = [&](vui::Message m) { library.dispatch(m); };
    const auto rows = [](QDialog &d) { return child<QTreeWidget>(d, "ListView"); };
    qint64 took = 0;
    rig.prompts.answer(true);
    const auto reading = [](QDialog &) {}; // closes itself
    rig.driver.whenOpen(reading);
    rig.driver.whenOpen([&](QDialog &d) {
        for (int i : {0, 1, 3})
            rows(d)->topLevelItem(i)->setSelected(true);
        QElapsedTimer timer;
        timer.start();
        d.findChild<QAction *>("Delete")->trigger();
        took = timer.elapsed();
        QCOMPARE(rows(d)->topLevelItemCount(), 1);
        rows(d)->topLevelItem(0)->setSelected(true);
        d.findChild<QAction *>("SavetoPrinter")->trigger();
    });
    rig.driver.whenOpen([&](QDialog &d) {
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText("9");
        click(d, "BtLoad");
        QTimer::singleShot(2000, &d, [&d] { d.reject(); }); // should the main window not close it
    });
    QStringList listed;
    rig.driver.whenOpen(reading);
    rig.whenOpen([&](QDialog &d) {
        for (int i = 0; i < rows(d)->topLevelItemCount(); ++i)
            listed << rows(d)->topLevelItem(i)->text(1) + ' ' + rows(d)->topLevelItem(i)->text(2);
    });
    library.logosView(vgfx::LogoStore::Printer);
    QVERIFY2(took >= 3 * 300, qPrintable(QString::number(took)));
    QCOMPARE(rig.prompts.questions, (Shown{{"Logos delete. Are You Sure?", "Confirm"}}));
    QCOMPARE(rig.prompts.messages, (Shown{okShown, okShown}));
    QCOMPARE(listed, (QStringList{"2 L2", "9 L2"}));
    QCOMPARE(rig.driver.openedModal,
             (QStringList{"TLogoViewForm", "TShowAllLogoListForm", "TMultiLoadFromListView",
                          "TLogoViewForm", "TShowAllLogoListForm"}));

    // Nothing of a list too long to show is shown, by the library or by the names window, which
    // forgets the list it kept.
    rig.device.faults().names = vp::NamesFault::OverCount;
    library.logosView(vgfx::LogoStore::Printer);
    QCOMPARE(rig.driver.openedModal.size(), 5);
    QVERIFY(!rig.logos.names.isEmpty());
    vgfx::TLogoNamesListForm names(rig.parts.logoContext());
    QCOMPARE(child<QTreeWidget>(names, "ListView")->topLevelItemCount(), 0);
    QVERIFY(rig.logos.names.isEmpty());
    const PromptRecorder::Shown tooLong{"LogoNamesList Count>256 ", "Error"};
    QCOMPARE(rig.prompts.messages.mid(2), (Shown{tooLong, tooLong}));
}

void TestBulkCopy::depotHighestBankAndVersion()
{
    LogoRig rig;
    vgfx::TDPMaxBankNumForm form(rig.parts.logoContext());
    for (const char *ignored : {"256", "-1", "x", ""}) {
        child<QLineEdit>(form, "MaxNumber")->setText(ignored);
        click(form, "BtOk");
    }
    QVERIFY(rig.sent().isEmpty() && rig.prompts.messages.isEmpty());
    child<QLineEdit>(form, "MaxNumber")->setText("7");
    click(form, "BtOk");
    QCOMPARE(rig.device.logos().maxBank, 7);
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    vgfx::TDPVersiaForm versia(rig.parts.logoContext());
    QCOMPARE(child<QLabel>(versia, "LVersia")->text(), QString("DEPOT V2.1"));
    QVERIFY(versia.versionRead());
    // A Depot that does not answer is reported, not shown as one without a version.
    rig.device.faults().silent = true;
    vgfx::TDPVersiaForm unread(rig.parts.logoContext());
    QCOMPARE(rig.prompts.messages, (Shown{okShown, {"Error", "Error"}}));
    QVERIFY(!unread.versionRead());
}

// The request reaches the main window once, after the last entry is in the library's list.
void TestBulkCopy::readingListsEveryEntryThenAsksForTheLibrary()
{
    const struct {
        const char *name;
        vlink::LogoNames names;
        QStringList rows;
    } rows[] = {
        {"in list order", {{7, "B"}, {0, "A"}, {255, "Z"}}, {"1 7 B", "2 0 A", "3 255 Z"}},
        {"a number no store holds", {{3, "C"}, {256, "X"}, {4, "D"}}, {"1 3 C", "2 4 D"}},
    };
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        vgfx::TShowAllLogoListForm library(rig.parts.logoContext(), rig.modal);
        library.rebuild({{9, "OLD"}});
        const auto *list = child<QTreeWidget>(library, "ListView");
        QList<int> listedAtRequest;
        rig.mainWindow.answer = [&](vui::Message) { listedAtRequest << list->topLevelItemCount(); };
        vgfx::TLogoViewForm reading(row.names, &library, &rig.mainWindow);
        rig.driver.whenOpen([](QDialog &) {}); // it closes itself
        rig.modal.exec(reading);
        QCoreApplication::sendPostedEvents();
        QStringList shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            shown << item->text(0) + ' ' + item->text(1) + ' ' + item->text(2);
        }
        QCOMPARE(shown, row.rows);
        QCOMPARE(rig.mainWindow.received, QList<vui::Message>{vui::Message::LogoListRequest});
        QCOMPARE(listedAtRequest, QList<int>{int(row.rows.size())});
    });
}

void TestBulkCopy::doubleClickOpensTheLogoInTheCompactDialog()
{
    const struct {
        const char *name;
        vgfx::LogoStore store;
        const char *form;
    } rows[] = {
        {"printer", vgfx::LogoStore::Printer, "TLogoToMarkFormSmall"},
        {"Depot", vgfx::LogoStore::Depot, "TDPLogoToMarkFormSmall"},
    };
    forEachRow(rows, [](const auto &row) {
        FlowRig<vshell::PlacementFlow> rig;
        rig.stored(row.store, 6) = logoRecord("SIX");
        rig.logos.depotView = row.store == vgfx::LogoStore::Depot;
        vgfx::TShowAllLogoListForm library(rig.parts.logoContext(), rig.modal);
        library.setOpenLogo(
            [&](vgfx::LogoStore store, int number) { rig.items.openFromLibrary(store, number); });
        library.rebuild({{2, "TWO"}, {6, "SIX"}});
        auto *list = child<QTreeWidget>(library, "ListView");
        QString shown;
        rig.whenOpen([&](QDialog &d) { shown = child<QLineEdit>(d, "LogoNumEdit")->text(); });
        emit list->itemDoubleClicked(list->topLevelItem(1), 0);
        QCOMPARE(rig.driver.openedModal, QStringList{row.form});
        QCOMPARE(shown, QString("6"));
        rig.device.faults().silent = true;
        emit list->itemDoubleClicked(list->topLevelItem(0), 0);
        QCOMPARE(rig.prompts.messages, (Shown{{"Logo Read Error", "Error"}}));
        QVERIFY(rig.logos.errorFlag && rig.driver.openedModal.size() == 1);
    });
}

QTEST_MAIN(TestBulkCopy)
#include "tst_bulk_copy.moc"
