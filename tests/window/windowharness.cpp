#include "windowharness.h"

#include "calibrationdialog.h"
#include "diagnosticdialog.h"
#include "metatypes.h"
#include "portlist.h"
#include "propertiesdialog.h"
#include "tofwidget.h"
#include "wireframe.h"

#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>

namespace {

template <typename Dialog>
Dialog* topLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget))
            return dialog;
    qFatal("no top-level %s", Dialog::staticMetaObject.className());
    return nullptr;
}

} // namespace

WindowHarness_t::WindowHarness_t(int emulatorCount) {
    registerMetaTypes();
    for (int i = 0; i < emulatorCount; ++i) {
        auto emulator = std::make_unique<SensorEmulator_t>();
        QString error;
        if (!emulator->start(error))
            qFatal("emulator does not start: %s", qPrintable(error));
        emulators.push_back(std::move(emulator));
    }
    PortSource_t source = [this] {
        QList<PortDescriptor_t> ports;
        for (std::size_t i = 0; i < emulators.size(); ++i) {
            const QString path = emulators[i]->slavePath();
            if (!path.isEmpty())
                ports.append(
                    {path, true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, QStringLiteral("EMU%1:Velmaro1").arg(i)});
        }
        return ports;
    };
    windowP = std::make_unique<MainWindow_t>(nullptr, QDate::currentDate(), source);
    windowP->show();
}

WindowHarness_t::~WindowHarness_t() {
    windowP.reset(); // closes the link before the sensors go
}

bool WindowHarness_t::loadState(int index, const nlohmann::json& sections) {
    QTemporaryFile file;
    if (!file.open())
        return false;
    file.write(QByteArray::fromStdString(sections.dump()));
    file.flush();
    QString error;
    const bool loaded = emulator(index).loadState(file.fileName(), error);
    if (!loaded)
        qWarning("state refused: %s", qPrintable(error));
    return loaded;
}

QPushButton* WindowHarness_t::connectButton() const {
    return widget<QPushButton>("btnSerialPortP");
}

PropertiesDialog_t* WindowHarness_t::propertiesDialog() const {
    return topLevel<PropertiesDialog_t>();
}

CalibrationDialog_t* WindowHarness_t::calibrationDialog() const {
    return topLevel<CalibrationDialog_t>();
}

DiagnosticDialog_t* WindowHarness_t::diagnosticDialog() const {
    return topLevel<DiagnosticDialog_t>();
}

TofWidget_t* WindowHarness_t::testPage() const {
    return windowP->findChild<TofWidget_t*>();
}

bool WindowHarness_t::connectAndRead(int timeoutMs) {
    connectButton()->click();
    return waitForButtonText(QStringLiteral("Отключить"), timeoutMs);
}

bool WindowHarness_t::waitForButtonText(const QString& text, int timeoutMs) const {
    return QTest::qWaitFor([&] { return connectButton()->text() == text; }, timeoutMs);
}

bool WindowHarness_t::waitForRequest(const QString& request, int count, int index, int timeoutMs) const {
    return QTest::qWaitFor([&] { return emulators.at(index)->requests().count(request) >= count; }, timeoutMs);
}

QByteArray frameOf(const char* jsonText) {
    return jsonToFrame(nlohmann::json::parse(jsonText));
}
