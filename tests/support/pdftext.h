#pragma once
// What a reader of a PDF sees: its text through pdftotext.

#include <QString>

// The PDF's text with every run of blanks and line breaks as one blank; empty when pdftotext fails.
QString pdfText(const QString& path);
