#pragma once
// What a reader of a PDF sees: its text through pdftotext.

#include <QString>

// The PDF's text (with page, that page's alone) with every run of blanks and line breaks as one blank; empty when
// pdftotext fails, as it does for a page the PDF lacks.
QString pdfText(const QString& path, int page = 0);
