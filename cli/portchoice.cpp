#include "portchoice.h"

#include <QStringList>

ExitCodeE choosePort(const QString& wanted, const QList<ShownPort_t>& found, ShownPort_t& chosen, QString& problem) {
    QStringList names;
    for (const ShownPort_t& port : found) {
        if (!wanted.isEmpty() && (port.shownName == wanted || port.port.portName == wanted)) {
            chosen = port;
            return ExitCodeE::OK;
        }
        names << QStringLiteral("%1 (%2)").arg(port.shownName, port.port.portName);
    }
    if (!wanted.isEmpty()) {
        chosen = {PortDescriptor_t{wanted, false, 0, 0, {}}, wanted};
        return ExitCodeE::OK;
    }
    if (found.size() == 1) {
        chosen = found.first();
        return ExitCodeE::OK;
    }
    if (found.isEmpty()) {
        problem = QStringLiteral("no sensor found");
        return ExitCodeE::NO_SENSOR;
    }
    problem = QStringLiteral("several sensors found, choose one with --port: ") + names.join(QStringLiteral(", "));
    return ExitCodeE::USAGE;
}
