#pragma once
// Texts of the About tab built from the build-time settings.

#include <QString>

// The part of version before its first "-" (buildLabel when version is empty), followed by " 64bit".
QString appVersionText(const QString& version, const QString& buildLabel);

// An HTML link to mailto:mail showing the address.
QString mailLinkHtml(const QString& mail);

// The help sentence: where the user guide is and where to write.
QString helpTextHtml(const QString& guideUrl, const QString& mail);
