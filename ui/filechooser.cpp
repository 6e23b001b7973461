#include "filechooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString& lastFolder() {
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QString remembered(const QString& path) {
    if (!path.isEmpty())
        lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

QString safePart(const QString& text) {
    QString part = text.trimmed();
    part.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|\s]+)")), QStringLiteral("_"));
    return part;
}

} // namespace

QString suggestedFileName(const DeviceInfo_t& info, const QDateTime& at, const QString& suffix) {
    QStringList parts = {safePart(info.Name), safePart(info.HWVer)};
    if (parts.first().isEmpty())
        parts.first() = QStringLiteral("sensor");
    parts.removeAll(QString());
    parts << at.toString(QStringLiteral("yyyy-MM-dd_HH-mm"));
    return parts.join(QLatin1Char('_')) + QLatin1Char('.') + suffix;
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                        const QString& suffix) {
    QString path = QFileDialog::getSaveFileName(parent, caption, QDir(lastFolder()).filePath(fileName), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return remembered(path);
}

QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return remembered(QFileDialog::getOpenFileName(parent, caption, lastFolder(), filter));
}
