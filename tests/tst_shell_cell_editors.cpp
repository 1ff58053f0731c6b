// The main window's ways into the counter, time and date, and post-date editors.

#include "support/station_fixture.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"

#include <QDialog>
#include <QTest>

class TestShellCellEditors : public QObject
{
    Q_OBJECT

private slots:
    void itemsOpenEachEditorAnew();
};

// Every opening is a new editor: it starts on cell (1, 1) wherever the last one was left.
void TestShellCellEditors::itemsOpenEachEditorAnew()
{
    const struct {
        const char *name;
        const char *dialog;
        QStringList items;
    } rows[] = {
        {"counter", "TCounterForm", {"Counter2", "FKeyCounter", "TbCounter"}},
        {"time and date", "TTimeForm", {"ime1", "FKeyTimeDate", "TbTimeDate"}},
        {"post date", "TPostDateForm", {"PDate2", "FKeyPostDate"}},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        vp::Device &printer = f.addDevice(0);
        f.startConnected();
        for (const QString &item : row.items) {
            f.driver.whenOpen([](QDialog &dialog) {
                click(dialog, "RowUp");
                dialog.reject();
            });
            printer.clearReceived();
            f.action(item.toLatin1().constData())->trigger();
            QCOMPARE(printer.received().left(3), bytes({0x11, '1', '1'}));
            QVERIFY(printer.received().contains(bytes({0x11, '2', '1'})));
        }
        QCOMPARE(f.driver.openedModal, QStringList(row.items.size(), row.dialog));
    });
}

QTEST_MAIN(TestShellCellEditors)
#include "tst_shell_cell_editors.moc"
