#include "qttranslation.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* installQtTranslation(QCoreApplication& app, const QLocale& locale) {
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    // The program speaks Russian: a language Qt has no texts for gets Qt's Russian ones, and so does English, whose
    // catalogue is only Qt's untranslated source texts.
    const bool english = locale.language() == QLocale::English || locale.language() == QLocale::C;
    if ((english || !translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) &&
        !translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qWarning() << "No Qt translation in" << folder;
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
