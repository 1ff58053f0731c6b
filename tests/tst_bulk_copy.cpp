#include "graphics/multi_load_from_list_view.h"
#include "support/logo_rig.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using vgfx::CopyDestination;
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
    void filesNamedSafelyAndNeverOverwritten();
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
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(rig.stored(vgfx::LogoStore::Depot, 240 + i),
                 logoRecord("L" + QByteArray::number(i)));
    // From the printer to the Depot: neither list is the one to refresh.
    QCOMPARE(rig.mainWindow.received, QList<vui::Message>{vui::Message::MultiLoadClose});
}

void TestBulkCopy::failedLogoReportedAndTheCopyGoesOn()
{
    const struct {
        const char *name;
        bool fromDepot;
        CopyDestination to;
        const char *failure;
        QList<vui::Message> posted;
    } rows[] = {
        {"printer to printer",
         false,
         CopyDestination::Printer,
         "PrinterLogo Write Error",
         {vui::Message::MultiLoadOK, vui::Message::MultiLoadClose}},
        {"Depot to Depot",
         true,
         CopyDestination::Depot,
         "DPLogo Write Error",
         {vui::Message::DPMultiLoadOK, vui::Message::MultiLoadClose}},
    };
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.logos.depotView = rig.logos.depotTarget = row.fromDepot;
        rig.device.faults().logoWriteReply = 0x00;
        bulkCopy(rig, {{1, "A"}, {2, "B"}, {3, "C"}}, row.to, 5);
        const PromptRecorder::Shown failure{QString::fromLatin1(row.failure), "Error"};
        QCOMPARE(rig.prompts.messages, (Shown{failure, failure, failure, {"Ok", "Information"}}));
        QCOMPARE(rig.mainWindow.received, row.posted);
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
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    for (const char *made : {"logo1.bmp", "X (2).bmp", "X (3).bmp"})
        QCOMPARE(QImage(rig.file(made)).size(), QSize(2, 8));
    QFile kept(old);
    QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "old");
    QVERIFY(!QFile::exists(rig.file("chosen.bmp")));
}

QTEST_MAIN(TestBulkCopy)
#include "tst_bulk_copy.moc"
