#include "core/FileEncoding.h"

#include <cstring>

namespace FileEncoding {

namespace {

bool between(uchar b, uchar low, uchar high)
{
    return b >= low && b <= high;
}

enum class Utf8 { Invalid, Ascii, MultiByte };

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates,
// nothing past U+10FFFF.
Utf8 checkUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    bool multiByte = false;
    qsizetype at = 0;
    while (at < n) {
        // Eight ASCII bytes at a time: most of a booking file is ASCII.
        if (n - at >= 8) {
            quint64 word;
            std::memcpy(&word, p + at, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                at += 8;
                continue;
            }
        }
        const uchar lead = p[at];
        if (lead < 0x80) {
            ++at;
            continue;
        }
        qsizetype length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (between(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (between(lead, 0xE0, 0xEF)) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (between(lead, 0xF0, 0xF4)) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return Utf8::Invalid;
        }
        for (qsizetype k = 1; k < length; ++k) {
            if (at + k == n) // cut off by the end of what was read
                return multiByte ? Utf8::MultiByte : Utf8::Ascii;
            const uchar next = p[at + k];
            if (!(k == 1 ? between(next, low, high) : between(next, 0x80, 0xBF)))
                return Utf8::Invalid;
        }
        multiByte = true;
        at += length;
    }
    return multiByte ? Utf8::MultiByte : Utf8::Ascii;
}

// A crash while a record was written can leave zeros where its end should
// be, which the next record then follows on a line of its own: zeros up to a
// line end are such a tear. A NUL with other bytes after it on its line is
// binary data.
bool holdsBinary(QByteArrayView head)
{
    if (head.startsWith("\x7F" "ELF") || head.startsWith("MZ") || head.startsWith("#!"))
        return true;
    for (qsizetype at = head.indexOf('\0'); at >= 0; at = head.indexOf('\0', at)) {
        while (at < head.size() && head[at] == '\0')
            ++at;
        if (at < head.size() && head[at] != '\r' && head[at] != '\n')
            return true;
    }
    return false;
}

} // namespace

Kind detect(QByteArrayView head)
{
    if (head.startsWith("\xEF\xBB\xBF"))
        return Kind::Utf8WithMark;
    if (head.startsWith("\xFF\xFE"))
        return Kind::Utf16LittleEndian;
    if (head.startsWith("\xFE\xFF"))
        return Kind::Utf16BigEndian;
    if (holdsBinary(head))
        return Kind::NotText;
    return checkUtf8(head) == Utf8::MultiByte ? Kind::Utf8 : Kind::Cp932;
}

qsizetype markSize(Kind kind)
{
    switch (kind) {
    case Kind::Utf8WithMark:
        return 3;
    case Kind::Utf16LittleEndian:
    case Kind::Utf16BigEndian:
        return 2;
    case Kind::Cp932:
    case Kind::Utf8:
    case Kind::NotText:
        break;
    }
    return 0;
}

QString name(Kind kind)
{
    switch (kind) {
    case Kind::Utf8WithMark:
    case Kind::Utf8:
        return QStringLiteral("UTF-8");
    case Kind::Utf16LittleEndian:
    case Kind::Utf16BigEndian:
        return QStringLiteral("UTF-16");
    case Kind::Cp932:
    case Kind::NotText:
        break;
    }
    return {};
}

} // namespace FileEncoding
