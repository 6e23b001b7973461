#pragma once
// The installation report: one A4 page in Russian recording what a fitter set on a sensor, for the customer.

#include "sensorprofile.h"

#include <QString>
#include <QVector>

class QPagedPaintDevice;
class QTextDocument;

// The longest entries a report row holds: longer ones are cut, ending with "…", so that the report stays one page
// whatever it is given. The report dialog takes no more.
constexpr int REPORT_LINE_MAX_LENGTH = 80;
constexpr int REPORT_NOTE_MAX_LENGTH = 200;
constexpr int REPORT_NOTE_MAX_LINES = 4;

// What the fitter types in; none of it comes from the sensor.
struct ReportDetails_t {
    QString vehicle;
    QString plate;
    QString fitter;
    QString note;
};

// Fills document with the report. readings are the live test's, drawn as a curve; fewer than two leave it out.
void buildReport(QTextDocument& document, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QVector<qint32>& readings);

// Written atomically as A4 at 300 dpi with the fonts embedded: a failure leaves no file. False with the reason
// (in Russian).
bool writeReportPdf(const QString& path, const SensorProfile_t& setup, const ReportDetails_t& details,
                    const QVector<qint32>& readings, QString& error);

// Paints the same page on a printer as the print dialog set it up (or any paged device). Takes no printer type, so
// the report needs no printing library and with it no widgets.
void printReport(QPagedPaintDevice& printer, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QVector<qint32>& readings);
