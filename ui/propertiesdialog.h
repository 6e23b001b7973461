#pragma once
// Tank settings outside the tank's shape: wall thickness and propane/butane mixture. The window writes them to the
// sensor when the apply button is clicked; the dialog keeps them only in its widgets.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

class PropertiesDialog_t : public QDialog {
    Q_OBJECT

public:
    explicit PropertiesDialog_t(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~PropertiesDialog_t() override;

    static constexpr int START_MIXTURE = 70; // percent propane
    // Moves the slider to percent (clamped to 5..95) and refills both mixture labels.
    void setMixture(int percent);
    int mixture() const;
    int wallThickness() const;
    QPushButton* applyButton() const { return btnApplyP; }

private:
    void fillMixtureLabels(int propane);

    static constexpr int sizeUnit = 50; // every minimum width is a multiple of it
    QLabel* lblWallP;
    QSpinBox* spboxWallP;
    QFrame* lineSeparatorP;
    QPushButton* btnApplyP;
    QPushButton* btnCloseP;
    QLabel* lblPropaneP;
    QLabel* lblButaneP;
    QSlider* sliderMixtureP;
};
