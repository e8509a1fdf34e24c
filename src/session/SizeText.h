#pragma once
// Sizes are shown as groups of three digits separated by a space, with the
// leading spaces of the pattern "### ### ##0" kept before the first digit:
// 5 -> "  5", 1234 -> " 1 234", 1234567 -> "1 234 567". Beyond nine digits
// every group is still separated ("5 368 709 120").

#include <QString>

QString formatSizeText(qint64 bytes);
// Reads such a text back whatever spaces it holds; false when it is not a
// whole, non-negative number.
bool parseSizeText(const QString &text, qint64 &bytes);
