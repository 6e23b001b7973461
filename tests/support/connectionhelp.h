#pragma once
// What the connection help dialog says, and a stand-in for the desktop that records the URLs it is asked to open.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

inline const QString SHORT_HELP_TEXT =
    QStringLiteral("Проверьте подключение устройства и исправность используемого USB кабеля.");
inline const QString LONG_HELP_TEXT =
    SHORT_HELP_TEXT + QStringLiteral(" Если проблем с подключением не обнаружено, то нажмите кнопку \"Драйвер\" и в "
                                     "открывшейся папке запустите файл для повторной установки драйвера.");

// Takes the place of the desktop for URLs without scheme.
class UrlCatcher_t : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void catchUrl(const QUrl& url) { urls << url; }
};
