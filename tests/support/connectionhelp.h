#pragma once
// What the connection help dialog says.

#include <QString>

inline const QString SHORT_HELP_TEXT =
    QStringLiteral("Проверьте подключение устройства и исправность используемого USB-кабеля.");
inline const QString LONG_HELP_TEXT =
    SHORT_HELP_TEXT + QStringLiteral(" Если проблем с подключением не обнаружено, то нажмите кнопку \"Драйвер\" и в "
                                     "открывшейся папке запустите файл для повторной установки драйвера.");
