#include "settings/StringTableFormat.h"

#include <optional>

namespace {

std::optional<QString> unescape(QStringView raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != QLatin1Char('\\')) {
            text.append(c);
            continue;
        }
        if (++i == raw.size())
            return std::nullopt;
        switch (raw.at(i).unicode()) {
        case 's': text.append(QLatin1Char(' ')); break;
        case 'n': text.append(QLatin1Char('\n')); break;
        case 't': text.append(QLatin1Char('\t')); break;
        case '\\': text.append(QLatin1Char('\\')); break;
        default: return std::nullopt;
        }
    }
    return text;
}

} // namespace

QHash<int, QString> parseStringTable(const QString &text, QStringList *problems)
{
    QHash<int, QString> table;
    const auto complain = [problems](qsizetype lineNo, const QString &what) {
        if (problems)
            problems->append(QStringLiteral("line %1: %2").arg(lineNo).arg(what));
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool ok = false;
        const int id = tab > 0 ? line.left(tab).trimmed().toInt(&ok) : 0;
        if (!ok) {
            complain(n + 1, QStringLiteral("expected a number, a tab and the text"));
            continue;
        }
        const auto value = unescape(QStringView(line).mid(tab + 1).trimmed());
        if (!value)
            complain(n + 1, QStringLiteral("unknown escape in string %1").arg(id));
        else if (table.contains(id))
            complain(n + 1, QStringLiteral("string %1 is given twice").arg(id));
        else
            table.insert(id, *value);
    }
    return table;
}
