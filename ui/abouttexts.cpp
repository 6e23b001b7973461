#include "abouttexts.h"

#include <QCoreApplication>

QString appVersionText(const QString& version, const QString& buildLabel) {
    const QString shown = version.isEmpty() ? buildLabel : version.section(QLatin1Char('-'), 0, 0);
    return shown + QStringLiteral(" 64bit");
}

QString mailLinkHtml(const QString& mail) {
    const QString escaped = mail.toHtmlEscaped();
    return QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(escaped);
}

QString helpTextHtml(const QString& guideUrl, const QString& mail) {
    return QCoreApplication::translate(
               "MainWindow_t", "Если у вас возникли вопросы, ознакомьтесь с руководством пользователя по ссылке ") +
           QStringLiteral("<a href=\"%1\">%1</a>").arg(guideUrl.toHtmlEscaped()) +
           QCoreApplication::translate("MainWindow_t", ", или напишите нам на почту ") + mailLinkHtml(mail);
}
