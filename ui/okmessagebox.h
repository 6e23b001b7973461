#pragma once
// The one way a notice reaches the user: a modal box with a single OK button that runs from its constructor and
// returns when the user has closed it.

#include <QMessageBox>

// Title bar without close button or system menu, fixed size: the flags of every dialog and box of the program.
Qt::WindowFlags dialogWindowFlags();
// The title of the program's notices: the program's name.
QString noticeTitle();

class OkMessageBox : public QMessageBox {
    Q_OBJECT

public:
    // informative: the details under the text, if any.
    explicit OkMessageBox(const QString& text, const QString& informative = QString());
    ~OkMessageBox() override;
};
