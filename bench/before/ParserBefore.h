#pragma once
// The listing parser as it stood before the formats of other systems were
// added, for the micro-benchmark's "before" figures.

#include <QByteArrayView>
#include <QDateTime>

#include <cstddef>

// The number of entries that parser reads in `data`.
std::size_t parseBefore(QByteArrayView data, bool mlsd, const QDateTime &now);
