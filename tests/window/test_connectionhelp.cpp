// The connection help through the real window with no sensor plugged in: the connect button offers it, each press
// shows the dialog with the driver folder checked anew in the working directory, and the driver button asks the
// desktop to open that folder.

#include "connectionhelp.h"
#include "diagnosticdialog.h"
#include "windowharness.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// Presses the connect button and reports what the dialog then shows; the dialog is closed again with its own button.
struct Shown_t {
    bool visible = false;
    QString text;
    bool driverButton = false;
};

Shown_t pressAndLook(WindowHarness_t& h) {
    h.connectButton()->click();
    DiagnosticDialog_t* dialog = h.diagnosticDialog();
    Shown_t shown;
    shown.visible = dialog->isVisible() && QTest::qWaitForWindowExposed(dialog);
    shown.text = dialog->findChild<QLabel*>(QStringLiteral("lblMessageP"))->text();
    shown.driverButton = dialog->driverButton()->isVisible();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnCloseP")), Qt::LeftButton);
    return shown;
}

} // namespace

class ConnectionHelpTest_t : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void press_showsTheTextAndButtonForTheWorkingDirectory_data();
    void press_showsTheTextAndButtonForTheWorkingDirectory();
    void eachPress_checksTheFolderAnew();
    void driverButton_asksTheDesktopForTheFolderAndTheDialogStays();

private:
    QString startDir;
    std::unique_ptr<QTemporaryDir> work;
};

void ConnectionHelpTest_t::init() {
    startDir = QDir::currentPath();
    work = std::make_unique<QTemporaryDir>();
    QVERIFY(work->isValid());
    QVERIFY(QDir::setCurrent(work->path()));
}

void ConnectionHelpTest_t::cleanup() {
    QVERIFY(QDir::setCurrent(startDir));
    work.reset();
}

void ConnectionHelpTest_t::press_showsTheTextAndButtonForTheWorkingDirectory_data() {
    QTest::addColumn<QString>("folder"); // made in the working directory; empty: none
    QTest::addColumn<bool>("available");

    QTest::newRow("no folder: short text, no button") << QString() << false;
    QTest::newRow("Driver: long text and button") << QStringLiteral("Driver") << true;
    QTest::newRow("driver in lower case: short text") << QStringLiteral("driver") << false;
    QTest::newRow("Driver one level down: short text") << QStringLiteral("Other/Driver") << false;
}

void ConnectionHelpTest_t::press_showsTheTextAndButtonForTheWorkingDirectory() {
    QFETCH(QString, folder);
    QFETCH(bool, available);
    if (!folder.isEmpty())
        QVERIFY(QDir().mkpath(folder));

    WindowHarness_t h(0);
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Диагностика"));
    const Shown_t shown = pressAndLook(h);
    QVERIFY(shown.visible);
    QCOMPARE(shown.text, available ? LONG_HELP_TEXT : SHORT_HELP_TEXT);
    QCOMPARE(shown.driverButton, available);
    QVERIFY(h.diagnosticDialog()->isHidden());
}

void ConnectionHelpTest_t::eachPress_checksTheFolderAnew() {
    WindowHarness_t h(0);
    Shown_t shown = pressAndLook(h);
    QCOMPARE(shown.text, SHORT_HELP_TEXT);
    QVERIFY(!shown.driverButton);

    // The folder appears while the program runs: the next press offers it.
    QVERIFY(QDir().mkdir(QStringLiteral("Driver")));
    shown = pressAndLook(h);
    QVERIFY(shown.visible);
    QCOMPARE(shown.text, LONG_HELP_TEXT);
    QVERIFY(shown.driverButton);

    QVERIFY(QDir().rmdir(QStringLiteral("Driver")));
    shown = pressAndLook(h);
    QVERIFY(shown.visible);
    QCOMPARE(shown.text, SHORT_HELP_TEXT);
    QVERIFY(!shown.driverButton);
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Диагностика"));
}

void ConnectionHelpTest_t::driverButton_asksTheDesktopForTheFolderAndTheDialogStays() {
    QVERIFY(QDir().mkdir(QStringLiteral("Driver")));
    WindowHarness_t h(0);
    UrlCatcher_t catcher;
    QDesktopServices::setUrlHandler(QString(), &catcher, "catchUrl");
    h.connectButton()->click();
    DiagnosticDialog_t* dialog = h.diagnosticDialog();
    QTest::mouseClick(dialog->driverButton(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QString());

    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY(catcher.urls.first().isRelative());
    QCOMPARE(catcher.urls.first().path(), QStringLiteral("Driver"));
    QVERIFY(dialog->isVisible());
    dialog->hide();
}

QTEST_MAIN(ConnectionHelpTest_t)
#include "test_connectionhelp.moc"
