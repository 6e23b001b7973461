// Connection help: texts and driver button by the driver folder's presence, the folder check in a real working
// directory, and the URL the driver button asks the desktop to open.

#include "connectionhelp.h"
#include "diagnosticdialog.h"
#include "modalboxcloser.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestDiagnosticDialog : public QObject {
    Q_OBJECT

private slots:
    void init() { startDir = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir); }

    void driverAvailability_choosesTextAndButton_data() {
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("text");
        QTest::newRow("driver folder present") << true << LONG_HELP_TEXT;
        QTest::newRow("driver folder missing") << false << SHORT_HELP_TEXT;
    }
    void driverAvailability_choosesTextAndButton() {
        QFETCH(bool, available);
        QFETCH(QString, text);
        DiagnosticDialog_t dialog;
        dialog.setDriverAvailable(!available); // the last call decides
        dialog.setDriverAvailable(available);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Диагностика"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblMessageP"))->text(), text);
        QCOMPARE(dialog.driverButton()->isVisible(), available);
        QCOMPARE(dialog.driverButton()->text(), QStringLiteral("Драйвер"));
    }

    void driverFolder_checkedInWorkingDirectory() {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        QVERIFY(QDir::setCurrent(work.path()));
        QVERIFY(!driverFolderExists());

        QFile file(QStringLiteral("Driver"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY2(!driverFolderExists(), "a file named Driver is no folder");
        QVERIFY(file.remove());

        QVERIFY(QDir().mkdir(QStringLiteral("Driver")));
        QVERIFY(driverFolderExists());

        DiagnosticDialog_t dialog;
        dialog.setDriverAvailable(driverFolderExists());
        dialog.show();
        QVERIFY(dialog.driverButton()->isVisible());
    }

    void openDriverFolder_asksForRelativeDriverUrl() {
        UrlCatcher_t catcher;
        QDesktopServices::setUrlHandler(QString(), &catcher, "catchUrl");
        openDriverFolder();
        QDesktopServices::unsetUrlHandler(QString());
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.front().isRelative());
        QCOMPARE(catcher.urls.front().path(), QStringLiteral("Driver"));
    }

    // The window shows the dialog without blocking; as a modal window it still takes the user's attention first.
    void shownWithoutBlocking_isTheModalWindowUntilClosed() {
        DiagnosticDialog_t dialog;
        dialog.show();
        ModalBoxCloser_t closer(ModalBoxCloser_t::Targets::AllDialogs);
        QVERIFY(closer.waitForCount(1));
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Диагностика")});
        QTRY_VERIFY(dialog.isHidden());
    }

    void closeButton_hidesDialog() {
        DiagnosticDialog_t dialog;
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnCloseP")), Qt::LeftButton);
        QVERIFY(dialog.isHidden());
    }

private:
    QString startDir;
};

QTEST_MAIN(TestDiagnosticDialog)
#include "test_diagnosticdialog.moc"
