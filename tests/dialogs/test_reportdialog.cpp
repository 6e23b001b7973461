// The report dialog as the window uses it: details() gives what was typed, and each button asks for its one action.

#include "reportdialog.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QWidget* byName(const QWidget& dialog, const QString& name) {
    for (QWidget* widget : dialog.findChildren<QWidget*>())
        if (widget->accessibleName() == name || widget->property("text") == name)
            return widget;
    qFatal("no widget %s", qPrintable(name));
}

} // namespace

class TestReportDialog : public QObject {
    Q_OBJECT

private slots:
    void details_areTrimmedAsTyped() {
        ReportDialog_t dialog;
        // Key clicks carry ASCII only.
        QTest::keyClicks(byName(dialog, "Автомобиль"), " GAZel Next ");
        QTest::keyClicks(byName(dialog, "Госномер"), "A123BC 77");
        QTest::keyClicks(byName(dialog, "Установщик"), "Ivanov");
        QWidget* note = byName(dialog, "Примечание");
        QTest::keyClicks(note, "under the body");
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, "left ");
        const ReportDetails_t details = dialog.details();
        QCOMPARE(QStringList({details.vehicle, details.plate, details.fitter, details.note}),
                 QStringList({"GAZel Next", "A123BC 77", "Ivanov", "under the body\nleft"}));
    }

    void buttons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("prints");
        QTest::addColumn<bool>("visibleAfter");
        QTest::newRow("save") << "Сохранить PDF..." << 1 << 0 << true;
        QTest::newRow("print") << "Печать..." << 0 << 1 << true;
        QTest::newRow("cancel") << "Отмена" << 0 << 0 << false;
    }
    void buttons() {
        QFETCH(QString, button);
        QFETCH(int, saves);
        QFETCH(int, prints);
        QFETCH(bool, visibleAfter);
        ReportDialog_t dialog;
        QSignalSpy saveSpy(&dialog, &ReportDialog_t::signSavePdf);
        QSignalSpy printSpy(&dialog, &ReportDialog_t::signPrint);
        dialog.show();
        QTest::mouseClick(qobject_cast<QAbstractButton*>(byName(dialog, button)), Qt::LeftButton);
        QCOMPARE(saveSpy.count(), saves);
        QCOMPARE(printSpy.count(), prints);
        QCOMPARE(dialog.isVisible(), visibleAfter);
    }
};

QTEST_MAIN(TestReportDialog)
#include "test_reportdialog.moc"
