#include "core/Cp932.h"

namespace {

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

} // namespace

namespace Cp932 {

qsizetype characterLength(QByteArrayView bytes, qsizetype at)
{
    const bool pair = at + 1 < bytes.size() && isLeadByte(uchar(bytes[at]))
                      && isTrailByte(uchar(bytes[at + 1]));
    return pair ? 2 : 1;
}

} // namespace Cp932
