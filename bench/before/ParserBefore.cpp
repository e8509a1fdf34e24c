// Compiled against the sources of the earlier commit (extracted by CMake),
// with their namespace renamed so that both parsers link into one program.
#include "ParserBefore.h"

#include "platform/inet/Inet.h"

std::size_t parseBefore(QByteArrayView data, bool mlsd, const QDateTime &now)
{
    return inet::parseListing(data, mlsd, now).size();
}
