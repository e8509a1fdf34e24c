#include "mainwindow/SessionLog.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <utility>

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
    const QList<LogLine> lines = logline::linesFor(State, sMessage, server, user);
    if (m_held)
        m_pending += lines;
    else
        append(lines);
}

void SessionLog::hold(bool held)
{
    m_held = held;
    if (!held)
        flush();
}

void SessionLog::flush()
{
    if (m_pending.isEmpty())
        return;
    const QList<LogLine> lines = std::exchange(m_pending, {});
    append(lines);
}

double SessionLog::twipsToPixels(int twips) const
{
    const int dpi = m_edit ? m_edit->logicalDpiX() : 96;
    return twips * double(dpi > 0 ? dpi : 96) / 1440.0;
}

void SessionLog::append(const QList<LogLine> &lines)
{
    if (!m_edit || lines.isEmpty())
        return;
    QScrollBar *bar = m_edit->verticalScrollBar();
    const bool followEnd = !bar || bar->value() == bar->maximum();

    // New text always goes after the last line: the log is read-only, so the
    // user cannot have meant another insertion point. One change of the
    // document for all the lines, so it is laid out once.
    QTextCursor cursor(m_edit->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    for (const LogLine &line : lines) {
        QTextBlockFormat block = cursor.blockFormat();
        block.setLeftMargin(twipsToPixels(line.indentTwips));
        cursor.setBlockFormat(block);
        QTextCharFormat format;
        format.setForeground(colourOf(line.kind));
        format.setFontWeight(line.emphasised() ? QFont::Bold : QFont::Normal);
        cursor.insertText(line.text, format);
        cursor.insertBlock(block, format);
    }
    cursor.endEditBlock();

    if (followEnd && bar)
        bar->setValue(bar->maximum());
}

void SessionLog::clear()
{
    m_pending.clear();
    if (m_edit)
        m_edit->clear();
}
