#pragma once
// The level-to-litres table of a tank, as telematics platforms that receive the level in mm need it, and its CSV.

#include "tankgeometry.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

constexpr int DEFAULT_TABLE_STEP_MM = 10;
constexpr int MAX_TABLE_STEP_MM = 1000;

struct TankTableRow_t {
    int levelMm = 0;
    double litres = 0;
    double percent = 0;
};
using TankTable_t = std::vector<TankTableRow_t>;

// A row every stepMm (from 1) from 0 up to the inner height in whole mm, which is always the last row.
TankTable_t tankTable(const TankGeometry_t& tank, int stepMm);

struct CsvFormat_t {
    QChar separator = QLatin1Char(',');
    QChar decimalMark = QLatin1Char('.');
    QStringList header = {QStringLiteral("level_mm"), QStringLiteral("litres"), QStringLiteral("percent")};
};
// The spreadsheet form for Russian users: ";" between fields, "," as decimal mark, the header in Russian.
CsvFormat_t russianSpreadsheetCsv();
// False when a number could not be told from the next field: the separator is the decimal mark or a digit.
bool isValidCsvFormat(const CsvFormat_t& format);

// The header line, then one line per row: level, litres and percent with two decimals; lines end with "\n". A header
// field holding the separator or a quote is quoted.
QString tankTableCsv(const TankTable_t& table, const CsvFormat_t& format);
// Written atomically, UTF-8 with a byte order mark. False with the reason.
bool saveTankTableCsv(const QString& path, const TankTable_t& table, const CsvFormat_t& format, QString& error);
