#include "accessiblename.h"

#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWidget>

void nameAfter(QWidget* input, const QString& labelText) {
    // Parsing as HTML only the texts that are (it builds a text document each time) keeps the window's start quick.
    const QString plain =
        Qt::mightBeRichText(labelText) ? QTextDocumentFragment::fromHtml(labelText).toPlainText() : labelText;
    input->setAccessibleName(plain.trimmed());
}
