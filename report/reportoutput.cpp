#include "installreport.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr int PDF_DPI = 300;
constexpr qreal PAGE_MARGIN_MM = 15;

// Lays the report out on the device's page and paints it. Its texts are cut to what a row holds; should the page
// still overflow (every row as long as it may be, a smaller page), the whole is shrunk to fit: one page, nothing cut
// off. False when the device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QVector<qint32>& readings) {
    device.setPageMargins(QMarginsF(PAGE_MARGIN_MM, PAGE_MARGIN_MM, PAGE_MARGIN_MM, PAGE_MARGIN_MM),
                          QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QTextDocument document;
    buildReport(document, setup, details, readings);
    // Fonts and pixel sizes measured in the device's resolution, not the screen's.
    document.documentLayout()->setPaintDevice(&device);
    const QSizeF page(device.width(), device.height());
    document.setTextWidth(page.width());
    // Laid out wider by the same factor, the text wraps less and so fits the page height once shrunk.
    const qreal scale = std::min<qreal>(1, page.height() / document.size().height());
    document.setTextWidth(page.width() / scale);
    painter.scale(scale, scale);
    document.drawContents(&painter, QRectF(QPointF(0, 0), page / scale));
    return true;
}

} // namespace

bool writeReportPdf(const QString& path, const SensorProfile_t& setup, const ReportDetails_t& details,
                    const QVector<qint32>& readings, QString& error) {
    const auto failed = [&](const QString& reason) {
        error = QCoreApplication::translate("Report", "Не удалось сохранить отчёт в %1: %2")
                    .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    // Written beside the target and renamed over it only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    QPdfWriter writer(&file);
    writer.setResolution(PDF_DPI);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(QCoreApplication::translate("Report", "Отчёт об установке"));
    writer.setCreator(QCoreApplication::applicationName());
    if (!paintReport(writer, setup, details, readings))
        return failed(QCoreApplication::translate("Report", "не удалось построить PDF"));
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

void printReport(QPagedPaintDevice& printer, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QVector<qint32>& readings) {
    if (!paintReport(printer, setup, details, readings))
        qWarning() << "Report: the printer could not be painted on";
}
