#pragma once
// Dates are kept as the design's date value: a double counting days since
// 1899-12-30 00:00 local time, the fraction being the time of day. Sorting and
// comparing by that value is what the panes, the queue and the comparison do.

#include "platform/inet/Inet.h"

#include <QDateTime>
#include <QString>

using DateValue = double;

// Local wall-clock time <-> date value.
DateValue dateValueFromDateTime(const QDateTime &local);
QDateTime dateTimeFromDateValue(DateValue value);

// A UTC file time (100 ns since 1601) as a date value in local time; an
// all-zero file time gives a date in the year 1601, not an error.
DateValue FileTimeToDate(inet::FileTime fileTime);

// The platform's general date-and-time text: the date in the short form of the
// system's locale and the time as HH:mm:ss; the time is left out when it is
// exactly midnight.
QString formatGeneralDate(DateValue value);
QString formatGeneralDate(const QDateTime &local);

// Reads a text written by formatGeneralDate (or an ISO date) back; invalid
// QDateTime when it is not a date.
QDateTime parseGeneralDate(const QString &text);
