// The installation record through the real window: a profile saved from one emulated sensor and written into
// another, with what the user is told when the file is bad, the sensor refuses or stores something else.

#include "modalboxcloser.h"
#include "windowharness.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using nlohmann::json;

namespace {

// A setup far from the emulator's default one.
const json SOURCE_SENSOR = {
    {"TankConfig", {{"Mixture", 80}, {"Liquid", "Butane"}, {"Active", 2}}},
    {"Records", json::array({{{"id", 0},
                              {"Shape", "Cylindric"},
                              {"Orientation", "Horizontal"},
                              {"Height", 640},
                              {"Length", 640},
                              {"OuterDiameter", 300},
                              {"InnerDiameter", 0},
                              {"Wall", 3}},
                             {{"id", 1},
                              {"Shape", "Toroidal"},
                              {"Orientation", "Horizontal"},
                              {"Height", 250},
                              {"Length", 250},
                              {"OuterDiameter", 630},
                              {"InnerDiameter", 172},
                              {"Wall", 3}},
                             {{"id", 2},
                              {"Shape", "Toroidal"},
                              {"Orientation", "Horizontal"},
                              {"Height", 240},
                              {"Length", 240},
                              {"OuterDiameter", 720},
                              {"InnerDiameter", 150},
                              {"Wall", 5}}})},
    {"OmnicommConfig", {{"Address", 33}, {"TxMode", false}, {"Units", "percent"}, {"TxPeriodSec", 0}}},
    {"Calibration", {{"Empty", 111}, {"Full", 999}}}};

// File dialogs get path and are accepted; the profile summary is accepted when write is true.
void answerDialogs(ModalBoxCloser_t& closer, const QString& path, bool write) {
    closer.answerDialogsWith([path, write](QDialog* dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            // Typed into the name box, as a user would; selectFile() would keep a suggested name.
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            dialog->accept(); // QFileDialog's own accept, reached through the public base
        } else if (write) {
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

bool connectTo(WindowHarness_t& h, int index) {
    h.widget<QComboBox>("cboxSerialListP")->setCurrentIndex(index);
    return h.connectAndRead();
}

} // namespace

class ProfileTest_t : public QObject {
    Q_OBJECT

private slots:
    void profileFromOneSensorIntoAnother_data();
    void profileFromOneSensorIntoAnother();
};

void ProfileTest_t::profileFromOneSensorIntoAnother_data() {
    QTest::addColumn<QString>("refusedPrefix"); // requests the second sensor answers with reply instead
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QByteArray>("fileText"); // empty: the profile saved from the first sensor
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("box"); // what the last box begins with
    QTest::addColumn<bool>("copied"); // the second sensor ends with the first one's setup

    QTest::newRow("written and checked") << QString() << QString() << QByteArray() << true
                                         << "Профиль записан в датчик и проверен." << true;
    QTest::newRow("the sensor keeps other RS485 settings")
        << R"(["OmnicommConfig",)"
        << R"(["ok"])" << QByteArray() << true
        << "Записано: запись 2, активная запись, настройки бака, RS485.\nДатчик хранит не то, что в профиле:" << false;
    QTest::newRow("the sensor refuses the tank configuration")
        << R"(["TankConfig",{"Active":2,"Liquid")"
        << R"(["error"])" << QByteArray() << true
        << "Записано: запись 2, активная запись.\nДатчик отказался принять: настройки бака. Не записано: "
           "настройки бака, RS485."
        << false;
    QTest::newRow("cancelled summary") << QString() << QString() << QByteArray() << false << "Профиль" << false;
    QTest::newRow("not a profile") << QString() << QString() << QByteArray("{\"Format\": 1}") << true
                                   << "Файл профиля «profile.json» не принят:" << false;
}

void ProfileTest_t::profileFromOneSensorIntoAnother() {
    QFETCH(QString, refusedPrefix);
    QFETCH(QString, reply);
    QFETCH(QByteArray, fileText);
    QFETCH(bool, write);
    QFETCH(QString, box);
    QFETCH(bool, copied);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("profile.json"));
    WindowHarness_t h(2);
    QVERIFY(h.loadState(0, SOURCE_SENSOR));
    EmulatorFaults_t faults;
    faults.overridePrefix = refusedPrefix;
    if (!reply.isEmpty())
        faults.overrideReply = json::parse(reply.toStdString());
    h.emulator(1).setFaults(faults);
    ModalBoxCloser_t closer(ModalBoxCloser_t::Targets::AllDialogs);
    answerDialogs(closer, path, write);

    QVERIFY(connectTo(h, 0));
    h.widget<QPushButton>("btnSaveProfileP")->click();
    QVERIFY(closer.waitForCount(2)); // the file dialog, then the box
    QVERIFY2(closer.texts().last().startsWith("Профиль сохранён"), qPrintable(closer.texts().join('|')));
    if (!fileText.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(fileText);
    }
    h.connectButton()->click();

    QVERIFY(connectTo(h, 1));
    const int asked = h.emulator(1).requests().size();
    h.widget<QPushButton>("btnLoadProfileP")->click();
    QTest::qWait(500);
    QTRY_VERIFY(h.widget("btnLoadProfileP")->isEnabled());
    QVERIFY2(closer.texts().last().startsWith(box), qPrintable(closer.texts().join('|')));

    const json source = h.emulator(0).stateJson();
    const json target = h.emulator(1).stateJson();
    const bool same = source["TankConfig"] == target["TankConfig"] && source["Records"][2] == target["Records"][2] &&
                      source["OmnicommConfig"] == target["OmnicommConfig"];
    QCOMPARE(same, copied);
    if (!write || !fileText.isEmpty())
        QCOMPARE(h.emulator(1).requests().size(), asked);
}

QTEST_MAIN(ProfileTest_t)
#include "test_profile.moc"
