#include "tanktable.h"

#include "tanktexts.h"

#include <QSaveFile>

#include <cmath>

TankTable_t tankTable(const TankGeometry_t& tank, int stepMm) {
    TankTable_t table;
    const int top = static_cast<int>(std::floor(tank.innerHeightMm()));
    const auto add = [&](int level) {
        const TankFill_t fill = tank.fillAt(level);
        table.push_back({level, fill.litres, fill.percent});
    };
    for (int level = 0; level < top; level += std::max(1, stepMm))
        add(level);
    add(top);
    return table;
}

CsvFormat_t russianSpreadsheetCsv() {
    return {QLatin1Char(';'), QLatin1Char(','), {levelHeaderText(), litresHeaderText(), percentHeaderText()}};
}

bool isValidCsvFormat(const CsvFormat_t& format) {
    return format.separator != format.decimalMark && !format.separator.isDigit() && !format.decimalMark.isDigit();
}

namespace {

QString number(double value, QChar decimalMark) {
    // Formatted in the C locale, whatever the user's: only the decimal mark is the format's.
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), decimalMark);
}

QString headerField(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

QString tankTableCsv(const TankTable_t& table, const CsvFormat_t& format) {
    QStringList header;
    for (const QString& field : format.header)
        header << headerField(field, format.separator);
    QString csv = header.join(format.separator) + QLatin1Char('\n');
    for (const TankTableRow_t& row : table) {
        csv += QString::number(row.levelMm) + format.separator + number(row.litres, format.decimalMark) +
               format.separator + number(row.percent, format.decimalMark) + QLatin1Char('\n');
    }
    return csv;
}

bool saveTankTableCsv(const QString& path, const TankTable_t& table, const CsvFormat_t& format, QString& error) {
    QSaveFile file(path);
    // With the byte order mark, spreadsheets read the file as UTF-8 rather than in the local 8-bit code page.
    const QByteArray text = "\xEF\xBB\xBF" + tankTableCsv(table, format).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
