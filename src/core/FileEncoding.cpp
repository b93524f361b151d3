#include "core/FileEncoding.h"

#include <QStringConverter>

namespace FileEncoding {

namespace {

// A character cut off by the end of what was read is left out, so that it
// counts for neither: the bytes after it were not read. Only a lead byte
// UTF-8 has can start one.
QByteArrayView withoutCutCharacter(QByteArrayView head)
{
    for (qsizetype back = 1; back <= qMin<qsizetype>(3, head.size()); ++back) {
        const uchar b = uchar(head[head.size() - back]);
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte
        const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (b >= 0xC2 && b <= 0xF4 && length > back)
            return head.chopped(back);
        break;
    }
    return head;
}

// Only asked of valid UTF-8, so never of a CP932 file: all bytes at once,
// which the compiler turns into wide instructions, no early way out.
bool isAscii(QByteArrayView bytes)
{
    uchar all = 0;
    for (const char c : bytes)
        all |= uchar(c);
    return all < 0x80;
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
    if (const auto marked = QStringConverter::encodingForData(head)) {
        switch (*marked) {
        case QStringConverter::Utf8:
            return Kind::Utf8WithMark;
        case QStringConverter::Utf16LE:
            return Kind::Utf16LittleEndian;
        case QStringConverter::Utf16BE:
            return Kind::Utf16BigEndian;
        default: // UTF-32
            return Kind::NotText;
        }
    }
    if (holdsBinary(head))
        return Kind::NotText;
    const QByteArrayView whole = withoutCutCharacter(head);
    return whole.isValidUtf8() && !isAscii(whole) ? Kind::Utf8 : Kind::Cp932;
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
