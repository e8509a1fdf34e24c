#include "settings/Options.h"

#include "platform/Paths.h"
#include "platform/SystemLanguage.h"

namespace options {
namespace {

const QString Section = QStringLiteral("Option");

OptionValue read(const QString &key)
{
    return OptionStore().ReadValue(key, Section, optionsFilePath());
}

FileResult write(const QString &key, const QString &value)
{
    return OptionStore().WriteValue(key, Section, value, optionsFilePath());
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString optionsFilePath()
{
    return platform::joinPath(platform::programDirectory(), QStringLiteral("opt.tf"));
}

OptionValue langue()
{
    return read(QStringLiteral("Langue"));
}

FileResult setLangue(qint16 offset)
{
    return write(QStringLiteral("Langue"), QString::number(offset));
}

qint16 startLanguageOffset()
{
    const OptionValue stored = langue();
    if (stored.isEmpty())
        return platform::prefersFrench(platform::messageLanguages()) ? 0 : 1000;
    // Only French and English exist; any other stored value is French.
    return stored.number() == 1000 ? 1000 : 0;
}

qint16 startWindowChoice()
{
    const qint32 n = read(QStringLiteral("Open")).toNumber();
    return n >= -32768 && n <= 32767 ? qint16(n) : qint16(0);
}

FileResult setStartWindowChoice(qint16 checkBoxValue)
{
    return write(QStringLiteral("Open"), QString::number(checkBoxValue));
}

QString swuValueFor(bool checked)
{
    return checked ? QStringLiteral("0") : QStringLiteral("1");
}

bool swuMeansCheck(const OptionValue &value)
{
    return value.equalsNumber(0);
}

bool checkUpdateAtStart()
{
    return swuMeansCheck(read(QStringLiteral("SWU")));
}

FileResult setCheckUpdateAtStart(bool checked)
{
    return write(QStringLiteral("SWU"), swuValueFor(checked));
}

bool keepAlive()
{
    return read(QStringLiteral("ka")).toBoolean();
}

FileResult setKeepAlive(bool on)
{
    return write(QStringLiteral("ka"), flag(on));
}

bool veuxSon()
{
    return read(QStringLiteral("VSon")).toBoolean();
}

FileResult setVeuxSon(bool on)
{
    return write(QStringLiteral("Vson"), flag(on));
}

QString son()
{
    return read(QStringLiteral("Son")).toText();
}

FileResult setSon(const QString &soundFile)
{
    return write(QStringLiteral("Son"), soundFile);
}

QString soundFilePath(const QString &sonValue)
{
    if (sonValue == DefaultSound)
        return platform::joinPath(platform::programDirectory(), DefaultSound);
    return sonValue;
}

int simultaneousTransfers()
{
    bool ok = false;
    const int count = read(QStringLiteral("Simultaneous")).toText().trimmed().toInt(&ok);
    return ok && count >= 1 && count <= 10 ? count : DefaultSimultaneousTransfers;
}

FileResult setSimultaneousTransfers(int count)
{
    return write(QStringLiteral("Simultaneous"), QString::number(qBound(1, count, 10)));
}

int retries()
{
    bool ok = false;
    const int count = read(QStringLiteral("retries")).toText().trimmed().toInt(&ok);
    return ok && count >= 0 && count <= MaxRetries ? count : DefaultRetries;
}

FileResult setRetries(int count)
{
    return write(QStringLiteral("retries"), QString::number(qBound(0, count, MaxRetries)));
}

QString verupd()
{
    return read(QStringLiteral("verupd")).toText();
}

FileResult setVerupd(const QString &version)
{
    return write(QStringLiteral("verupd"), version);
}

} // namespace options
