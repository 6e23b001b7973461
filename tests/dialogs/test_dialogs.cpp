// The dialogs and the test page as the user works them: the properties dialog's mixture and wall thickness, the
// calibration values, the connection help by the driver folder, the notice box, the report dialog, and the live plot.
#include "calibrationdialog.h"
#include "connectionhelp.h"
#include "diagnosticdialog.h"
#include "modalboxcloser.h"
#include "okmessagebox.h"
#include "propertiesdialog.h"
#include "reportdialog.h"
#include "tofwidget.h"
#include "widgetlookup.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <qcustomplot.h>

namespace {

QString mixtureLabels(const PropertiesDialog_t& dialog) {
    return child<QLabel>(dialog, "lblPropaneP")->text() + " | " + child<QLabel>(dialog, "lblButaneP")->text();
}

bool closeHides(QDialog& dialog) {
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnCloseP"), Qt::LeftButton);
    return dialog.isHidden();
}

// A report dialog's field by its accessible name, or its button by its text.
QWidget* byName(const QWidget& dialog, const QString& name) {
    for (QWidget* widget : dialog.findChildren<QWidget*>())
        if (widget->accessibleName() == name || widget->property("text") == name)
            return widget;
    qFatal("no widget %s", qPrintable(name));
}

} // namespace

class DialogsTest_t : public QObject {
    Q_OBJECT

private slots:
    void propertiesDialog_showsWhatItWillWriteAndKeepsItOverClosing() {
        PropertiesDialog_t dialog;
        // A sensor value outside the slider's range: the labels show the value that will be written back.
        dialog.setMixture(120);
        QCOMPARE(dialog.mixture(), 95);
        QCOMPARE(mixtureLabels(dialog), QStringLiteral("пропан 95% | 5% бутан"));

        QTest::keyClick(dialog.findChild<QSlider*>(), Qt::Key_Home);
        QTest::keyClick(dialog.findChild<QSpinBox*>(), Qt::Key_Up);
        QVERIFY(closeHides(dialog));
        dialog.show();
        QCOMPARE(dialog.mixture(), 5);
        QCOMPARE(dialog.wallThickness(), 4);
        QCOMPARE(mixtureLabels(dialog), QStringLiteral("пропан 5% | 95% бутан"));
    }

    void calibrationDialog_showsEachValueOrADashForNoneAndEnterStoresNothing() {
        CalibrationDialog_t dialog;
        dialog.setEmptyValue(-7);
        dialog.setFullValue(0);
        QCOMPARE(child<QLabel>(dialog, "lblEmptyValueP")->text(), QStringLiteral("Значение \"Пустой\": -7"));
        QCOMPARE(child<QLabel>(dialog, "lblFullValueP")->text(), QStringLiteral("Значение \"Полный\": -"));
        // Enter must not store a calibration point: no button is the default one.
        dialog.show();
        QSignalSpy empty(dialog.emptyButton(), &QPushButton::clicked);
        QSignalSpy full(dialog.fullButton(), &QPushButton::clicked);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(empty.count() + full.count(), 0);
        QVERIFY(closeHides(dialog));
    }

    void diagnosticDialog_textAndDriverButtonFollowTheLastCall() {
        DiagnosticDialog_t dialog;
        dialog.show();
        const auto* message = child<QLabel>(dialog, "lblMessageP");
        for (const bool available : {false, true, false}) {
            dialog.setDriverAvailable(available);
            QCOMPARE(message->text(), available ? LONG_HELP_TEXT : SHORT_HELP_TEXT);
            QCOMPARE(dialog.driverButton()->isVisible(), available);
        }
        QVERIFY(closeHides(dialog));
    }

    void driverFolderExists_onlyForAFolderInTheWorkingDirectory() {
        QTemporaryDir work;
        const QString startDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        QFile file(QStringLiteral("Driver"));
        const bool forAFile = file.open(QIODevice::WriteOnly) && driverFolderExists();
        const bool forAFolder = file.remove() && QDir().mkdir(QStringLiteral("Driver")) && driverFolderExists();
        QDir::setCurrent(startDir);
        QVERIFY(!forAFile);
        QVERIFY(forAFolder);
    }

    void okMessageBox_onlyOkWhichEnterPressesAndNoCloseButton() {
        ModalBoxCloser_t closer;
        closer.pressEnterOnNext();
        QMessageBox::StandardButtons buttons;
        Qt::WindowFlags flags;
        closer.inspectEachBox([&](QWidget* box) {
            buttons = qobject_cast<QMessageBox*>(box)->standardButtons();
            flags = box->windowFlags();
        });
        OkMessageBox box(QStringLiteral("Данные введены неверно!"));
        // A box that Enter left open would be answered, and recorded, a second time.
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Данные введены неверно!")});
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(flags & (Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
                 Qt::WindowFlags(Qt::CustomizeWindowHint));
    }

    void reportDialog_givesTheTrimmedDetailsAndEachButtonItsAction() {
        ReportDialog_t dialog;
        // Key clicks carry ASCII only.
        QTest::keyClicks(byName(dialog, "Автомобиль"), " GAZel Next ");
        QTest::keyClicks(byName(dialog, "Госномер"), "A123BC 77");
        QTest::keyClicks(byName(dialog, "Установщик"), "Ivanov");
        QTest::keyClicks(byName(dialog, "Примечание"), "under the body\rleft ");
        const ReportDetails_t details = dialog.details();
        QCOMPARE(QStringList({details.vehicle, details.plate, details.fitter, details.note}),
                 QStringList({"GAZel Next", "A123BC 77", "Ivanov", "under the body\nleft"}));

        QSignalSpy saves(&dialog, &ReportDialog_t::signSavePdf);
        QSignalSpy prints(&dialog, &ReportDialog_t::signPrint);
        dialog.show();
        for (const char* button : {"Сохранить PDF...", "Печать...", "Печать...", "Отмена"})
            QTest::mouseClick(qobject_cast<QAbstractButton*>(byName(dialog, button)), Qt::LeftButton);
        QCOMPARE(QList<int>({saves.count(), prints.count()}), QList<int>({1, 2}));
        QVERIFY(dialog.isHidden());
    }

    void tofWidget_plotsTheLast100SamplesUnsignedFromKey0() {
        TofWidget_t widget;
        for (quint32 sample = 1; sample < 150; ++sample)
            widget.addSample(sample);
        widget.addSample(0xFFFFFFFFu);
        QSharedPointer<QCPGraphDataContainer> data = widget.plot()->graph(0)->data();
        QCOMPARE(data->size(), 100);
        for (int key = 0; key < 99; ++key)
            QCOMPARE(QPointF(data->at(key)->key, data->at(key)->value), QPointF(key, key + 51));
        QCOMPARE(data->at(99)->value, 4294967295.0);

        QTest::mouseClick(child<QPushButton>(widget, "btnClearP"), Qt::LeftButton);
        QCOMPARE(data->size(), 0);
        widget.addSample(42);
        QCOMPARE(QPointF(data->at(0)->key, data->at(0)->value), QPointF(0, 42));
    }
};

QTEST_MAIN(DialogsTest_t)
#include "test_dialogs.moc"
