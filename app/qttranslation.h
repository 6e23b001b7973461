#pragma once
// Qt's own texts (the standard buttons, the file dialogs) in the user's language, so that they match the program's
// Russian.

#include <QLocale>

class QCoreApplication;
class QTranslator;

// Installs Qt's translation for locale's language from the system's Qt translations (Debian's qttranslations5-l10n),
// or the Russian one when there is none for it or the language is English. Returns the translator, a child of app, or
// null when not even the Russian one is installed.
QTranslator* installQtTranslation(QCoreApplication& app, const QLocale& locale = QLocale::system());
