// ports: the sensors the window would offer, by the same filter and with the same names.
#include "clicommands.h"
#include "clioutput.h"
#include "exitcodee.h"
#include "portlist.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int runPorts(const CliOptions_t& options) {
    const QList<ShownPort_t> ports = sensorPorts(systemPorts());
    if (options.json) {
        QJsonArray list;
        for (const ShownPort_t& port : ports)
            list.append(
                QJsonObject{{QStringLiteral("name"), port.shownName}, {QStringLiteral("port"), port.port.portName}});
        printData(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        for (const ShownPort_t& port : ports)
            printData(port.shownName + QLatin1Char('\t') + port.port.portName);
    }
    if (ports.isEmpty())
        printMessage(QStringLiteral("no sensor found"));
    return static_cast<int>(ExitCodeE::OK);
}
