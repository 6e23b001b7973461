#include "installreport.h"

#include "reportcurve.h"
#include "sensorfacts.h"

#include "tankcatalogue.h"
#include "tankgeometry.h"
#include "tankkind.h"
#include "tanktexts.h"

#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>
#include <vector>

namespace {

using Rows_t = std::vector<std::pair<QString, QString>>;

// The anchor that holds the curve's place: no text the sensor or the user gives can make one.
const QString CURVE_ANCHOR = QStringLiteral("report-curve");
// The curve's box in document pixels (1/96 inch): the page's text width, and the height the tables leave free when
// every row is as long as it may be.
const QSizeF CURVE_BOX(680, 220);
constexpr int FONT_POINTS = 10;
// The compact level-to-litres table: a column every tenth of the inner height.
constexpr int TABLE_PARTS = 10;
// Label column shares of the two page columns, wide enough for their longest labels.
constexpr int LEFT_LABEL_PERCENT = 42;
constexpr int RIGHT_LABEL_PERCENT = 56;

// The kinds in TankKindE order, named as the window's tank tab names them.
const char* const KIND_TEXTS[] = {"Тороидальный", "Полнотелый", "Цилиндрический горизонтальный",
                                  "Цилиндрический вертикальный"};

const char STYLE[] = "th { background-color: #e4e4e4; text-align: left; }"
                     "table.rows { border-collapse: collapse; border-color: #9a9a9a; font-size: 9pt; }"
                     "h2 { text-align: center; }";

QString rt(const char* text) {
    return QCoreApplication::translate("Report", text);
}

// At most maxLines lines of at most maxLength characters in all, "…" ending what was cut.
QString fitted(const QString& text, int maxLength = REPORT_LINE_MAX_LENGTH, int maxLines = 1) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QString kept = lines.mid(0, maxLines).join(QLatin1Char('\n'));
    if (kept.size() <= maxLength && lines.size() <= maxLines)
        return text;
    return kept.left(maxLength - 1) + QChar(0x2026);
}

// Everything on the page comes from the sensor or the user: escaped, line breaks kept.
QString html(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

// labelPercent is the label column's share of the width: the same for every section of a page column, so they align.
QString section(const QString& title, const Rows_t& rows, int labelPercent) {
    QString out = "<table class='rows' border='1' width='100%' cellspacing='0' cellpadding='3'><tr><th colspan='2'>" +
                  html(title) + "</th></tr>";
    for (const auto& [label, value] : rows)
        out += "<tr><td width='" + QString::number(labelPercent) + "%'>" + html(label) + "</td><td>" + html(value) +
               "</td></tr>";
    return out + "</table><p></p>";
}

// By the window's rule for showing a stored tank as the catalogue tank it matches.
QString catalogueText(const TankConfigRecord_t& record) {
    const std::optional<QByteArray> text = catalogueTextOf(record);
    return text ? QString::fromUtf8(*text) : rt("задан вручную");
}

Rows_t tankRows(const SensorSnapshot_t& sensor) {
    const TankConfigRecord_t* record = sensor.record(sensor.tankConfig.Active);
    if (!record)
        return {{rt("Активная запись"), rt("%1, не считана").arg(sensor.tankConfig.Active)}};
    const TankKindE kind = tankKindOf(*record);
    const bool toroid = kind == TankKindE::Toroid;
    Rows_t rows{{rt("Форма"), rt(KIND_TEXTS[static_cast<int>(kind)])},
                {toroid ? rt("Внешний диаметр, мм") : rt("Диаметр, мм"), QString::number(record->OuterDiameter)}};
    if (toroid)
        rows.emplace_back(rt("Внутренний диаметр, мм"), QString::number(record->InnerDiameter));
    rows.emplace_back(kind == TankKindE::CylinderH ? rt("Длина, мм") : rt("Высота, мм"),
                      QString::number(record->Length));
    rows.emplace_back(rt("Типоразмер"), catalogueText(*record));
    rows.emplace_back(rt("Толщина стенки, мм"), QString::number(record->Wall));
    if (const std::optional<TankGeometry_t> tank = TankGeometry_t::fromRecord(*record))
        rows.emplace_back(rt("Объём"), approxLitresText(tank->innerVolumeLitres()) + ", " + computedNoteText());
    return rows;
}

// The active tank's level-to-litres table across the page, a column every tenth of its inner height; nothing when
// the record describes no tank.
QString tableHtml(const SensorSnapshot_t& sensor) {
    const TankConfigRecord_t* record = sensor.record(sensor.tankConfig.Active);
    const std::optional<TankGeometry_t> tank = record ? TankGeometry_t::fromRecord(*record) : std::nullopt;
    if (!tank)
        return QString();
    QString levels = "<tr><th>" + html(levelHeaderText()) + "</th>";
    QString litres = "<tr><th>" + html(litresHeaderText()) + "</th>";
    for (int part = 0; part <= TABLE_PARTS; ++part) {
        const int level = qRound(tank->innerHeightMm() * part / TABLE_PARTS);
        levels += "<td align='right'>" + QString::number(level) + "</td>";
        litres += "<td align='right'>" + html(QLocale(QLocale::Russian).toString(tank->fillAt(level).litres, 'f', 1)) +
                  "</td>";
    }
    return "<p><b>" + html(rt("Таблица тарировки (%1)").arg(computedNoteText())) +
           "</b></p><table class='rows' border='1' width='100%' cellspacing='0' cellpadding='3'>" + levels + "</tr>" +
           litres + "</tr></table>";
}

// The facts of one group as the section's rows; the period only while the sensor sends periodically.
Rows_t factRows(const SensorSnapshot_t& sensor, FactGroupE group) {
    Rows_t rows;
    for (const SensorFact_t& fact : sensorFacts(sensor, group)) {
        if (fact.key != QLatin1String("OmnicommConfig.TxPeriodSec") || sensor.omnicomm.TxMode)
            rows.emplace_back(fact.label, fitted(fact.text));
    }
    return rows;
}

// The curve's title and its place, which the curve takes once the document is built.
QString curveHtml(const QVector<qint32>& readings) {
    if (readings.size() < 2)
        return QString();
    return QStringLiteral("<p><b>%1</b></p><p align='center'><a name='%2'>#</a></p>")
        .arg(html(rt("График проверки")), CURVE_ANCHOR);
}

// The curve in the place its anchor holds.
void placeCurve(QTextDocument& document, const QVector<qint32>& readings) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().anchorNames().contains(CURVE_ANCHOR))
                continue;
            QTextCursor place(&document);
            place.setPosition(fragment.position());
            place.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            insertCurve(place, readings, CURVE_BOX);
            return;
        }
    }
}

// A line to sign on, and the signer's name as the fitter typed it or a line to write it on.
QString signatureHtml(const QString& role, const QString& name) {
    const QString line = QStringLiteral("______________________");
    return html(role) + ": " + line + "<br><br>" + html(rt("Ф. И. О.")) + ": " + (name.isEmpty() ? line : html(name));
}

} // namespace

void buildReport(QTextDocument& document, const SensorProfile_t& setup, const ReportDetails_t& details,
                 const QVector<qint32>& readings) {
    // The port is the PC's, not the installation's: it is left out.
    const QString fitter = fitted(details.fitter);
    const QString left =
        section(rt("Установка"),
                {{rt("Автомобиль"), fitted(details.vehicle)},
                 {rt("Госномер"), fitted(details.plate)},
                 {rt("Установщик"), fitter},
                 {rt("Примечание"), fitted(details.note, REPORT_NOTE_MAX_LENGTH, REPORT_NOTE_MAX_LINES)}},
                LEFT_LABEL_PERCENT) +
        section(rt("Датчик"), factRows(setup.sensor, FactGroupE::IDENTITY), LEFT_LABEL_PERCENT) +
        section(rt("Газ"), factRows(setup.sensor, FactGroupE::GAS), LEFT_LABEL_PERCENT);
    const QString right =
        section(rt("Бак"), tankRows(setup.sensor), RIGHT_LABEL_PERCENT) +
        section(rt("Калибровка"), factRows(setup.sensor, FactGroupE::CALIBRATION), RIGHT_LABEL_PERCENT) +
        section(rt("RS485"), factRows(setup.sensor, FactGroupE::RS485), RIGHT_LABEL_PERCENT);

    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), FONT_POINTS));
    document.setDefaultStyleSheet(QLatin1String(STYLE));
    document.setHtml("<h2>" + html(rt("Отчёт об установке датчика уровня газа")) + "</h2><p align='center'>" +
                     html(rt("Дата: %1 · Версия программы: %2")
                              .arg(setup.saved.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                                   fitted(setup.programVersion))) +
                     "</p><table width='100%' cellspacing='0' cellpadding='4'><tr><td width='50%' valign='top'>" +
                     left + "</td><td width='50%' valign='top'>" + right + "</td></tr></table>" +
                     tableHtml(setup.sensor) + curveHtml(readings) +
                     "<p></p><table width='100%' cellpadding='4' style='margin-top: 12px'><tr><td width='50%'>" +
                     signatureHtml(rt("Установщик"), fitter) + "</td><td>" + signatureHtml(rt("Заказчик"), QString()) +
                     "</td></tr></table>");
    placeCurve(document, readings);
}
