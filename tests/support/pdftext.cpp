#include "pdftext.h"

#include <QProcess>

QString pdfText(const QString& path, int page) {
    const QStringList pages =
        page > 0 ? QStringList{"-f", QString::number(page), "-l", QString::number(page)} : QStringList();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), pages + QStringList{"-enc", "UTF-8", path, "-"});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}
