#pragma once
// Screen readers and UI automation find an input by the text of its label.

#include <QString>

class QWidget;

// Names input after labelText, as plain text when labelText is rich text.
void nameAfter(QWidget* input, const QString& labelText);
