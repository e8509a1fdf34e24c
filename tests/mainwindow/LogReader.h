#pragma once
// Reads the session log back line by line, with the colour, emphasis and
// indent each line was written in.

#include "WindowTestSupport.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

struct WrittenLine {
    QString text;
    QColor colour;
    bool bold = false;
    double indent = 0;
};

inline QList<WrittenLine> writtenLines(const QTextEdit *log)
{
    QList<WrittenLine> lines;
    for (QTextBlock block = log->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty())
            continue;
        const QTextCharFormat format = block.begin().fragment().charFormat();
        lines.append({block.text(), format.foreground().color(), format.fontWeight() >= QFont::Bold,
                      block.blockFormat().leftMargin()});
    }
    return lines;
}

inline QStringList writtenTexts(const QTextEdit *log)
{
    QStringList texts;
    for (const WrittenLine &line : writtenLines(log))
        texts << line.text;
    return texts;
}
