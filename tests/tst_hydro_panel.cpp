#include "shell/byte_status_form.h"
#include "shell/hydro_form.h"
#include "shell/hydro_value_dialogs.h"
#include "shell/params_form.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using Shown = PromptRecorder::ShownList;

// A station's state on a virtual printer in memory, for the parameter and hydraulic windows.
struct Rig {
    vp::Device device;
    MemoryPort port{device};
    PromptRecorder prompts;
    StationParts parts{port, prompts, nullptr};
    vui::ModalRunner modal;
    ModalDriver driver{modal};
};

class TestHydroPanel : public QObject
{
    Q_OBJECT

private slots:
    void paramsUndo();
    void statusByte();
    void panelRowsAndDialogs();
    void valueDialogRefuses();
    void refreshRefused();
    void menuBehindSettingsKey();
};

void TestHydroPanel::paramsUndo()
{
    const struct {
        const char *name;
        bool up;
        int steps;
        quint8 undoByte;
        QString failure = {}; // the printer falls silent before the undo
    } rows[] = {{"three up", true, 3, 0x16},
                {"two down", false, 2, 0x15},
                // The printer's own text for a failed step up names the other direction.
                {"two down, undone on a silent line", false, 2, 0x15, "ParamsDecrease Error"}};
    forEachRow(rows, [](const auto &row) {
        Rig rig;
        vshell::TParamsForm form(rig.parts.line, rig.prompts);
        form.buildList();
        QCOMPARE(form.ListView2->topLevelItem(3)->text(2), QStringLiteral("40"));
        // Ok without a row chosen takes nothing.
        form.ListView2->clearSelection();
        rig.port.clearWritten();
        form.Button3Click();
        QVERIFY(rig.port.written().isEmpty() && form.Edit1->text().trimmed().isEmpty());
        form.ListView2->setCurrentItem(form.ListView2->topLevelItem(3));
        form.Button3Click();
        for (int i = 0; i < row.steps; ++i)
            row.up ? form.LogoNumIncClick() : form.LogoNumDecClick();
        QCOMPARE(form.Edit1->text().toInt(), 40 + (row.up ? 1 : -1) * row.steps);
        rig.port.clearWritten();
        rig.device.faults().silent = !row.failure.isEmpty();
        rig.port.expectProtocolErrors(row.failure.isEmpty() ? 0 : -1);
        form.Button4Click();
        if (!row.failure.isEmpty()) {
            QCOMPARE(rig.prompts.messages.count({row.failure, "Error"}), row.steps);
            return;
        }
        const QByteArray step = bytes({0x0C, 'H', row.undoByte, 0x05, 0x00, 0x0D});
        QCOMPARE(rig.port.written().count(step), row.steps);
        QCOMPARE(rig.port.written().count(bytes({0x0C, 'H', 0x15 + 0x16 - row.undoByte})), 0);
        QCOMPARE(rig.device.printer().params['H'], quint8(40));
        QVERIFY(rig.prompts.messages.isEmpty());
    });
}

void TestHydroPanel::statusByte()
{
    const struct {
        const char *name;
        quint8 status;
        const char *lamps;
        QStringList words;
        bool silent = false; // after a first good read
    } rows[] = {
        {"0xA9", 0xA9, "R B PR PB", {"Ok", "Off", "Open", "Yes"}},
        {"0x00", 0x00, "", {"Destroy", "Off", "Open", "No"}},
        {"no answer after 0xAD", 0xAD, "", {"", "", "", ""}, true},
    };
    forEachRow(rows, [](const auto &row) {
        Rig rig;
        rig.device.printer().status = row.status;
        vshell::TByteStatusForm_ form(rig.parts.line);
        form.FormActivate();
        rig.device.faults().silent = row.silent;
        rig.port.expectProtocolErrors(row.silent ? -1 : 0);
        form.FormActivate();
        QStringList lit;
        for (const char *lamp : {"R", "G", "B", "PR", "PG", "PB"})
            if (!form.findChild<QLabel *>(lamp)->isHidden())
                lit << lamp;
        QCOMPARE(lit.join(u' '), QString::fromLatin1(row.lamps));
        QStringList words;
        for (const char *label :
             {"HighVoltUnitStat_label", "UnitOnOff_label", "Head_label", "Mark_label"})
            words << form.findChild<QLabel *>(label)->text();
        QCOMPARE(words, row.words);
        const QLabel *noAnswer = form.findChild<QLabel *>("NoAnswer_label");
        QCOMPARE(noAnswer && !noAnswer->isHidden(), row.silent);
    });
}

// The threshold row reads base 10 and seeds its dialog; the work pressure goes out halved.
void TestHydroPanel::panelRowsAndDialogs()
{
    Rig rig;
    rig.device.hydro().values[0x2B] = 45;
    vshell::THydroForm panel(rig.parts.line, rig.parts.state.hydro, rig.prompts, rig.modal);
    panel.FormCreate();
    QCOMPARE(panel.ListView2->topLevelItem(5)->text(2), QStringLiteral("45"));
    QVERIFY(!rig.device.hydro().channelOpen);

    QString seeded;
    rig.driver.whenOpen([&](QDialog &d) {
        seeded = d.findChild<QLineEdit *>("EdValue")->text();
        d.reject();
    });
    panel.ListView2->setCurrentItem(panel.ListView2->topLevelItem(5));
    panel.ListView2DblClick();
    QCOMPARE(seeded, QStringLiteral("45"));

    rig.driver.whenOpen([](QDialog &d) {
        d.findChild<QLineEdit *>("EdValue")->setText(QStringLiteral("151"));
        static_cast<vshell::THydroValueDialog &>(d).OKClick();
    });
    panel.ListView2->setCurrentItem(panel.ListView2->topLevelItem(8));
    panel.ListView2DblClick();
    QCOMPARE(rig.device.hydro().value(0x2F), quint8(75));
    QCOMPARE(panel.ListView2->topLevelItem(8)->text(2), QStringLiteral("151"));
    QCOMPARE(rig.driver.openedModal, QStringList({"Hydro2Form", "Hydro3Form"}));
    QVERIFY(rig.prompts.messages.isEmpty());
}

void TestHydroPanel::valueDialogRefuses()
{
    const struct {
        const char *name;
        const char *text;
        const char *shown;
    } rows[] = {{"above", "31", "Max value=30"},
                {"below", "-1", "Min value=0"},
                {"no number", "abc", "Value Convert Error"}};
    forEachRow(rows, [](const auto &row) {
        Rig rig;
        vshell::THydro1 dialog(rig.parts.line, rig.parts.state.hydro, rig.prompts);
        dialog.EdValue->setText(QString::fromLatin1(row.text));
        dialog.OKClick();
        QCOMPARE(rig.prompts.messages, Shown({{row.shown, "Error"}}));
        QVERIFY(rig.port.written().isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });
}

// A reply the rows cannot read stops the reading, closes the channel once and keeps the rows;
// the panel closed while the box shows closes the channel after it.
void TestHydroPanel::refreshRefused()
{
    const struct {
        const char *name;
        vp::HydroFault fault;
        bool closedInTheBox;
    } rows[] = {{"short", vp::HydroFault::Short, false},
                {"malformed", vp::HydroFault::Malformed, false},
                {"panel closed in the box", vp::HydroFault::Short, true}};
    forEachRow(rows, [](const auto &row) {
        Rig rig;
        rig.port.expectProtocolErrors(-1);
        vshell::THydroForm panel(rig.parts.line, rig.parts.state.hydro, rig.prompts, rig.modal);
        panel.FormCreate();
        const QString shown = panel.ListView2->topLevelItem(8)->text(2);
        panel.Button2Click();
        QVERIFY(panel.running() && rig.device.hydro().channelOpen);
        panel.Timer1Timer();
        QCOMPARE(rig.device.hydro().reads, 2);
        rig.device.hydro().values[0x2F] = 90;
        rig.device.hydro().fault = row.fault;
        if (row.closedInTheBox)
            rig.prompts.onMessage = [&](const PromptRecorder::Shown &) {
                panel.reject();
                QVERIFY(rig.device.hydro().channelOpen);
            };
        panel.Timer1Timer();
        QCOMPARE(rig.prompts.messages, Shown({{"HydroSystems Params Read Error!!", "Error"}}));
        QVERIFY(!panel.running() && !rig.device.hydro().channelOpen);
        // Once after the rows were first read, and once more.
        QCOMPARE(rig.device.hydro().closes, 2);
        QCOMPARE(panel.ListView2->topLevelItem(8)->text(2), shown);
        QCOMPARE(panel.Button2->text(), QStringLiteral("Start"));
    });
}

void TestHydroPanel::menuBehindSettingsKey()
{
    for (bool key : {false, true}) {
        StationFixture f;
        vp::Device &device = f.addDevice(0);
        if (key)
            f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\nHydroSystem=1\n"));
        f.startConnected();
        QMenu *menu = f.menu("HydroSystem1");
        QCOMPARE(menu->menuAction()->isVisible(), key);
        QCOMPARE(f.action("TbHydroSystemParams")->isVisible(), key);
        if (!key)
            continue;
        f.action("Enforce1")->trigger();
        QCOMPARE(device.hydro().value(0x2E), quint8(0x55));
        QVERIFY(!device.hydro().channelOpen);
        QVERIFY(f.prompts.messages.isEmpty());
    }
}

QTEST_MAIN(TestHydroPanel)
#include "tst_hydro_panel.moc"
