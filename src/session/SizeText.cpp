#include "session/SizeText.h"

QString formatSizeText(qint64 bytes)
{
    const QString digits = QString::number(bytes < 0 ? 0 : bytes);
    const int groups = int((digits.size() + 2) / 3);
    QString out(qMax(0, 3 - groups), QLatin1Char(' '));
    const int head = int(digits.size()) - (groups - 1) * 3;
    out += digits.left(head);
    for (int i = head; i < digits.size(); i += 3)
        out += QLatin1Char(' ') + digits.mid(i, 3);
    return out;
}

bool parseSizeText(const QString &text, qint64 &bytes)
{
    QString digits;
    digits.reserve(text.size());
    for (QChar c : text) {
        if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        digits += c;
    }
    if (digits.isEmpty())
        return false;
    bool ok = false;
    bytes = digits.toLongLong(&ok);
    return ok;
}
