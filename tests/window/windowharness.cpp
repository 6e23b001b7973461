#include "windowharness.h"

#include "metatypes.h"
#include "portlist.h"

#include <QTemporaryFile>
#include <QTest>

WindowHarness_t::WindowHarness_t(int emulatorCount) {
    registerMetaTypes();
    for (int i = 0; i < emulatorCount; ++i) {
        QString error;
        if (!emulators.emplace_back(std::make_unique<SensorEmulator_t>())->start(error))
            qFatal("emulator does not start: %s", qPrintable(error));
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
    // The window lists its ports right after its first paint.
    if (!emulators.empty() && !waitForButtonText(QStringLiteral("Подключить")))
        qFatal("the window did not list the emulators");
}

bool WindowHarness_t::loadState(int index, const nlohmann::json& sections) {
    QTemporaryFile file;
    QString error;
    const bool loaded = file.open() && file.write(QByteArray::fromStdString(sections.dump())) > 0 && file.flush() &&
                        emulator(index).loadState(file.fileName(), error);
    if (!loaded)
        qWarning("state refused: %s", qPrintable(error));
    return loaded;
}

bool WindowHarness_t::connectAndRead(int timeoutMs) {
    connectButton()->click();
    return waitForButtonText(QStringLiteral("Отключить"), timeoutMs);
}

bool WindowHarness_t::waitForButtonText(const QString& text, int timeoutMs) const {
    return QTest::qWaitFor([&] { return connectButton()->text() == text; }, timeoutMs);
}
