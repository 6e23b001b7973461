#pragma once
// The standard tank texts as the tests of the tank list expect them.

#include <QStringList>

// The catalogue's texts per kind, in catalogue order; both cylinder orientations share one list.
extern const QStringList STANDARD_TOROIDS;
extern const QStringList STANDARD_SOLIDS;
extern const QStringList STANDARD_CYLINDERS;
