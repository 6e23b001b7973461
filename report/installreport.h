#pragma once
// The installation report: one A4 page in Russian recording what a fitter set on a sensor, for the customer.

#include "sensorprofile.h"

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

// What the fitter types in; none of it comes from the sensor.
struct ReportDetails_t {
    QString vehicle;
    QString plate;
    QString fitter;
    QString note;
};

// Fills document with the report as HTML. curve is the live test's plot; a null image leaves the plot out.
void buildReport(QTextDocument& document, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QImage& curve);

// Written atomically as A4 at 300 dpi with the fonts embedded: a failure leaves no file. False with the reason
// (in Russian).
bool writeReportPdf(const QString& path, const SensorProfile_t& setup, const ReportDetails_t& details,
                    const QImage& curve, QString& error);

// Paints the same page on a printer as the print dialog set it up (or any paged device). Takes no printer type, so
// the report needs no printing library and with it no widgets.
void printReport(QPagedPaintDevice& printer, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QImage& curve);
