#pragma once
// The program's only top-level window: the form with its four tabs and the dialogs it owns for its whole life.

#include <QDate>
#include <QMainWindow>

namespace Ui {
class MainWindow;
}
class CalibrationDialog_t;
class DiagnosticDialog_t;
class PropertiesDialog_t;
class TofWidget_t;

class MainWindow_t : public QMainWindow {
    Q_OBJECT

public:
    // today decides the window icon (the festive one from 25 to 31 December).
    explicit MainWindow_t(QWidget* parent = nullptr, const QDate& today = QDate::currentDate());
    ~MainWindow_t() override;

    // The controls that send requests: apply, calibration reset, the properties dialog's apply button, both
    // calibration buttons and the test tab's start/stop button.
    void setControlsEnabled(bool enabled);
    // The RS485 tab's inputs and apply button; enabling turns the period box on only when periodic output is ticked.
    void setOmnicommControlsEnabled(bool enabled);

private:
    void fillAboutTab();
    void setPictures(const QDate& today);
    void setFixedTexts();
    void levelOmniRows();
    void nameInputsForAccessibility();

    Ui::MainWindow* ui;
    PropertiesDialog_t* propertiesDialogP;
    TofWidget_t* tofWidgetP; // page of the "Тест" tab, owned by the tab widget
    CalibrationDialog_t* calibrationDialogP;
    DiagnosticDialog_t* diagnosticDialogP;
};
