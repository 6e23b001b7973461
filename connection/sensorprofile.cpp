// Profile files: written through a temporary file, read only up to the size a profile can have.
#include "sensorprofile.h"
#include "profilemessage.h"

#include <QFile>
#include <QSaveFile>

bool saveProfile(const QString& path, const SensorProfile_t& profile, QString& error) {
    const QByteArray text = profileToJson(profile);
    QSaveFile file(path);
    // Without commit() the temporary file is removed and the target left as it was.
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = profileMessage("Не удалось записать файл: %1").arg(file.errorString());
        return false;
    }
    return true;
}

bool loadProfile(const QString& path, SensorProfile_t& out, QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = profileMessage("Не удалось открыть файл: %1").arg(file.errorString());
        return false;
    }
    // The size first, so a huge file is never read; then at most one byte more, for files that grow or lie.
    QByteArray text;
    if (file.size() > PROFILE_MAX_BYTES || (text = file.read(PROFILE_MAX_BYTES + 1)).size() > PROFILE_MAX_BYTES) {
        problem = profileMessage("Файл слишком велик для профиля (больше %1 КБ)").arg(PROFILE_MAX_BYTES / 1024);
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        problem = profileMessage("Не удалось прочитать файл: %1").arg(file.errorString());
        return false;
    }
    if (text.isEmpty()) {
        problem = profileMessage("Файл пуст");
        return false;
    }
    return profileFromJson(text, out, problem);
}
