#pragma once
// The live test's readings as a curve inside the report's text, drawn with painter paths so that a PDF holds it as
// vectors, sharp at any zoom and on any printer.

#include <QSizeF>
#include <QVector>

class QTextCursor;

// Inserts the curve at cursor, size in document pixels (1/96 inch); at least two readings, else nothing. The curve
// spans the readings from left to right between their least and greatest value, both of them written at the side.
void insertCurve(QTextCursor& cursor, const QVector<qint32>& readings, const QSizeF& size);
