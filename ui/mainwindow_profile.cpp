// The installation record: saving the connected sensor's setup as a profile file, writing a profile file into the
// connected sensor with a summary first and a check of what the sensor then holds, and the installation report.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "buildinfo.h"
#include "calibrationdialog.h"
#include "filechooser.h"
#include "profiledialog.h"
#include "reportdialog.h"
#include "tofwidget.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

namespace {

// One line per value: what the profile holds, and what writing sends or the range it would take.
QString issueLines(const QList<WriteIssue_t>& issues) {
    QStringList lines;
    for (const WriteIssue_t& issue : issues)
        lines << (issue.sent.isEmpty()
                      ? MainWindow_t::tr("%1: %2 (допустимо %3)").arg(issue.label, issue.value, issue.range)
                      : MainWindow_t::tr("%1: %2, запишется %3").arg(issue.label, issue.value, issue.sent));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void MainWindow_t::connectRecordSignals() {
    // The file dialogs run modally: never inside the connection's own code.
    connect(connectionP, &SensorConnection_t::signCalibrationRead, this, [this] {
        if (const std::optional<Calibration_t>& stored = connectionP->sensor().calibration) {
            calibrationDialogP->setEmptyValue(stored->Empty);
            calibrationDialogP->setFullValue(stored->Full);
        }
        const RecordE record = recordAfterCalibration;
        recordAfterCalibration = RecordE::NONE;
        if (record == RecordE::PROFILE) {
            QTimer::singleShot(0, this, &MainWindow_t::saveProfileFile);
        } else if (record == RecordE::REPORT) {
            reportSetup = currentSetup();
            reportReadings = connectionP->testReadings();
            reportDialog().show();
        }
    });
    connect(connectionP, &SensorConnection_t::signProfileWritten, this, &MainWindow_t::slotProfileWritten);
}

SensorProfile_t MainWindow_t::currentSetup() const {
    return {QDateTime::currentDateTime(), QString::fromUtf8(BuildInfo::VERSION_STRING),
            ui->cboxSerialListP->currentText(), connectionP->sensor()};
}

void MainWindow_t::slotSaveProfile() {
    // The calibration is part of the record, and only the sensor knows it now.
    if (connectionP && connectionP->readCalibration())
        recordAfterCalibration = RecordE::PROFILE;
}

void MainWindow_t::slotReport() {
    if (connectionP && connectionP->readCalibration())
        recordAfterCalibration = RecordE::REPORT;
}

void MainWindow_t::slotSaveReport() {
    const QString suffix = QStringLiteral("pdf");
    const QString path = askSaveFileName(
        reportDialogP, tr("Сохранить отчёт"),
        suggestedFileName(reportSetup.sensor.info, QDateTime::currentDateTime(), suffix), tr("PDF (*.pdf)"), suffix);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReportPdf(path, reportSetup, reportDialogP->details(), reportReadings, error)) {
        qWarning() << "Report not saved: " << path << error;
        showMessage(error);
        return;
    }
    qInfo() << "Report saved: " << path;
    reportDialogP->hide();
    showMessage(tr("Отчёт сохранён:\n%1").arg(QDir::toNativeSeparators(path)));
}

void MainWindow_t::slotPrintReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(tr("Отчёт об установке")); // the name in the print queue
    QPrintDialog dialog(&printer, reportDialogP);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printReport(printer, reportSetup, reportDialogP->details(), reportReadings);
    reportDialogP->hide();
}

void MainWindow_t::saveProfileFile() {
    if (!connectionP)
        return;
    const SensorProfile_t profile = currentSetup();
    const QString suffix = QStringLiteral("json");
    const QString path = askSaveFileName(this, tr("Сохранить профиль"),
                                         suggestedFileName(profile.sensor.info, QDateTime::currentDateTime(), suffix),
                                         tr("Профиль датчика (*.json)"), suffix);
    if (path.isEmpty())
        return;
    QString error;
    if (!saveProfile(path, profile, error)) {
        qWarning() << "Profile not saved: " << path << error;
        showMessage(tr("Профиль не сохранён.\n%1").arg(error));
        return;
    }
    qInfo() << "Profile saved: " << path;
    QString text = tr("Профиль сохранён:\n%1").arg(QDir::toNativeSeparators(path));
    if (!profile.sensor.calibration)
        text += tr("\nКалибровка в профиль не вошла: датчик не сообщил её.");
    const QList<WriteIssue_t> issues = writeIssues(profile.sensor);
    if (!issues.isEmpty())
        text += tr("\nДатчик хранит значения, которые запись этого профиля не вернёт:\n") + issueLines(issues);
    showMessage(text);
}

void MainWindow_t::slotLoadProfile() {
    if (!connectionP)
        return;
    const QString path = askOpenFileName(this, tr("Загрузить профиль"), tr("Профиль датчика (*.json)"));
    if (path.isEmpty())
        return;
    SensorProfile_t profile;
    QString problem;
    const QString fileName = QFileInfo(path).fileName();
    if (!loadProfile(path, profile, problem)) {
        qWarning() << "Profile refused: " << path << problem;
        showMessage(tr("Файл профиля «%1» не принят:\n%2").arg(fileName, problem));
        return;
    }
    if (const QList<WriteIssue_t> refused = refusedValues(writeIssues(profile.sensor)); !refused.isEmpty()) {
        showMessage(tr("Профиль «%1» не записать: программа не записывает такие значения:\n%2")
                        .arg(fileName, issueLines(refused)));
        return;
    }
    profile.sensor = writtenSetup(profile.sensor);
    // The connection may have ended while the file dialog was open.
    if (!connectionP)
        return;
    profileDialog().showFields(fileName, profileFields(profile, connectionP->sensor()));
    if (profileDialog().exec() != QDialog::Accepted || !connectionP)
        return;
    profileBeingWritten = profile;
    connectionP->writeProfile(profile.sensor);
}

void MainWindow_t::slotProfileWritten(const SequenceOutcome_t& inOutcome) {
    showSensor();
    applyActiveTankToUi();
    QStringList differences;
    for (const ProfileField_t& field : profileFields(profileBeingWritten, connectionP->sensor()))
        if (field.differs())
            differences << tr("%1: в профиле %2, в датчике %3").arg(field.label, field.inProfile, field.inSensor);
    const QStringList notReadBack = inOutcome.readSteps(StepResultE::REFUSED);
    if (inOutcome.end == SequenceEndE::COMPLETE && notReadBack.isEmpty() && differences.isEmpty()) {
        showMessage(tr("Профиль записан в датчик и проверен."));
        return;
    }
    QStringList lines{writeOutcomeText(inOutcome)};
    if (!notReadBack.isEmpty())
        lines << tr("Датчик не дал прочитать обратно: %1; эти значения не проверены.")
                     .arg(notReadBack.join(QStringLiteral(", ")));
    if (!differences.isEmpty())
        lines << tr("Датчик хранит не то, что в профиле:") << differences;
    showMessage(lines.join(QLatin1Char('\n')));
}
