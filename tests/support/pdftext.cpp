#include "pdftext.h"

#include <QProcess>

QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, "-"});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}
