#include "writeflow.h"

#include "propertiesdialog.h"
#include "sensorstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

using nlohmann::json;

namespace WriteFlow {

const QString SAVED = QStringLiteral("Настройки успешно сохранены!");
const QString SAVED_RESTART = QStringLiteral("Настройки успешно сохранены! \nДля применения перезагрузите устройство.");
const QString INPUT_REFUSED = QStringLiteral("Данные введены неверно!");
const QString FSM_FAILED = QStringLiteral("Произошла ошибка, перезагрузите устройство!");

void showTankKind(WindowHarness_t& h, TankKindE kind, bool custom) {
    switch (kind) {
    case TankKindE::Toroid:
        h.widget<QRadioButton>("rbuttToroidP")->click();
        break;
    case TankKindE::CylinderP:
        h.widget<QRadioButton>("rbuttCylinderP_P")->click();
        break;
    case TankKindE::CylinderH:
    case TankKindE::CylinderV:
        h.widget<QRadioButton>("rbuttCylinderHV_P")->click();
        h.widget<QRadioButton>(kind == TankKindE::CylinderH ? "rbuttCylinderH_P" : "rbuttCylinderV_P")->click();
        break;
    }
    h.widget<QCheckBox>("cboxIsCustomP")->setChecked(custom);
}

bool chooseTank(WindowHarness_t& h, const QString& text) {
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    const int index = tanks->findText(text);
    if (index < 0)
        return false;
    tanks->setCurrentIndex(index);
    return true;
}

QSpinBox* wallBox(WindowHarness_t& h) {
    return h.propertiesDialog()->findChild<QSpinBox*>();
}

json tankRecord(int id, TankKindE kind, int outer, int length, int inner, int wall) {
    return recordToJson(makeTankRecord(id, kind, outer, length, inner, wall));
}

QString requestText(const json& request) {
    return QString::fromStdString(request.dump());
}

QString recordWrite(const json& record) {
    return requestText(json::array({"TankConfig", record}));
}

QString activation(int id) {
    return requestText(json::array({"TankConfig", {{"Active", id}}}));
}

QString tankConfigWrite(int mixture, const char* liquid, int active) {
    return requestText(
        json::array({"TankConfig", {{"Qty", 3}, {"Mixture", mixture}, {"Liquid", liquid}, {"Active", active}}}));
}

bool Session_t::connectAndRead() {
    if (!h.connectAndRead())
        return false;
    readingRequests = h.emulator().requests().size();
    return true;
}

QStringList Session_t::requestsSinceReading() const {
    return h.emulator().requests().mid(readingRequests);
}

} // namespace WriteFlow
