#include "okmessagebox.h"

Qt::WindowFlags dialogWindowFlags() {
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
}

QString noticeTitle() {
    return OkMessageBox::tr("Velmaro. Настройка");
}

OkMessageBox::OkMessageBox(const QString& text, const QString& informative) : QMessageBox() {
    setWindowTitle(noticeTitle());
    setText(text);
    setInformativeText(informative);
    setStandardButtons(QMessageBox::Ok);
    setDefaultButton(QMessageBox::Ok);
    // Keep the dialog window type; only the title bar hints change.
    setWindowFlags(windowType() | dialogWindowFlags());
    exec();
}

OkMessageBox::~OkMessageBox() = default;
