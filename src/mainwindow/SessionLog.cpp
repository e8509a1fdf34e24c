#include "mainwindow/SessionLog.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

SessionLog::SessionLog(QTextEdit *edit) : m_edit(edit) {}

void SessionLog::setNameSource(std::function<QString()> server, std::function<QString()> user)
{
    m_server = std::move(server);
    m_user = std::move(user);
}

void SessionLog::write(int State, const QString &sMessage)
{
    // The names are only needed by status lines; a message never asks for them.
    const bool status = sMessage.isEmpty();
    const QString server = status && m_server ? m_server() : QString();
    const QString user = status && m_user ? m_user() : QString();
    for (const LogLine &line : logline::linesFor(State, sMessage, server, user))
        append(line);
}

double SessionLog::twipsToPixels(int twips) const
{
    const int dpi = m_edit ? m_edit->logicalDpiX() : 96;
    return twips * double(dpi > 0 ? dpi : 96) / 1440.0;
}

void SessionLog::append(const LogLine &line)
{
    if (!m_edit)
        return;
    QScrollBar *bar = m_edit->verticalScrollBar();
    const bool followEnd = !bar || bar->value() == bar->maximum();

    // New text always goes after the last line: the log is read-only, so the
    // user cannot have meant another insertion point.
    QTextCursor cursor(m_edit->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block = cursor.blockFormat();
    block.setLeftMargin(twipsToPixels(line.indentTwips));
    cursor.setBlockFormat(block);
    QTextCharFormat format;
    format.setForeground(colourOf(line.kind));
    format.setFontWeight(line.emphasised() ? QFont::Bold : QFont::Normal);
    cursor.insertText(line.text, format);
    cursor.insertBlock(block, format);

    if (followEnd && bar)
        bar->setValue(bar->maximum());
}

void SessionLog::clear()
{
    if (m_edit)
        m_edit->clear();
}
