#pragma once
// The session log: coloured lines in a rich-text box, all written by one
// routine (the main window's mFTP_StateChanged hands its calls here). Which
// lines a State and a message give is the engine's rule (logline::linesFor);
// this class writes them in their colour, emphasis and indent.

#include "session/LogLines.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QTimer>

#include <functional>

class QTextEdit;

class SessionLog {
public:
    static QColor colourOf(LogLine::Kind kind) { return QColor::fromRgb(LogLine::rgb(kind)); }

    explicit SessionLog(QTextEdit *edit);

    // Where the status lines take the server and user names from (the site
    // manager's boxes); empty names when not set.
    void setNameSource(std::function<QString()> server, std::function<QString()> user);

    // Writes what (State, sMessage) stands for at the end of the log.
    void write(int State, const QString &sMessage);
    void clear();

    // While held, lines are kept and written together by flush() (a queue run
    // writes a few lines per file; laying them out one by one would cost more
    // than the files). Releasing flushes.
    void hold(bool held);
    void flush();

    // A twips value (1440 to the inch) in pixels of the log's screen.
    double twipsToPixels(int twips) const;

private:
    void append(const QList<LogLine> &lines);

    QTextEdit *m_edit;
    std::function<QString()> m_server;
    std::function<QString()> m_user;
    bool m_held = false;
    QList<LogLine> m_pending;
};

// While the queue runs, a file of a few kilobytes takes less time than laying
// out its log lines: for as long as this lives, the log is written ten times
// a second. Not less often: a fast run of small files gives a few hundred
// lines in a quarter of a second, and laying them out at once held the
// window some 50 ms.
class RunPainting {
public:
    RunPainting(QObject *owner, SessionLog *log) : m_log(log), m_timer(owner)
    {
        m_log->hold(true);
        m_timer.setInterval(100);
        QObject::connect(&m_timer, &QTimer::timeout, owner, [this] { m_log->flush(); });
        m_timer.start();
    }
    ~RunPainting() { m_log->hold(false); }
    RunPainting(const RunPainting &) = delete;
    RunPainting &operator=(const RunPainting &) = delete;

private:
    SessionLog *m_log;
    QTimer m_timer;
};
