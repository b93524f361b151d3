#include "core/Cp932.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <limits>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

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

#ifdef Q_OS_WIN

// Qt on Windows may be built without ICU and then has no CP932 converter; the
// system's own code page 932 is the one the room's earlier program used.
namespace {

constexpr UINT CodePage = 932;

bool isSingleByte(uchar b)
{
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

// Whole input at once; false if the system finds any character invalid or
// unassigned, so that the caller can fall back to one character at a time.
bool decodeStrict(const char *bytes, int size, QString &out)
{
    const int needed = MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (needed <= 0)
        return false;
    const qsizetype start = out.size();
    out.resize(start + needed);
    const int written = MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes, size,
                                            reinterpret_cast<wchar_t *>(out.data() + start), needed);
    if (written != needed) {
        out.truncate(start);
        return false;
    }
    return true;
}

bool isWellFormed(QByteArrayView bytes)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar b = uchar(bytes[at]);
        const qsizetype length = Cp932::characterLength(bytes, at);
        if (length == 1 && !isSingleByte(b))
            return false;
        at += length;
    }
    return true;
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes)
{
    QString text;
    if (bytes.isEmpty())
        return text;
    // Without MB_ERR_INVALID_CHARS the system would map faults to a katakana
    // middle dot or drop a cut-off lead byte; here each fault becomes U+FFFD,
    // as it does on the other platforms.
    if (bytes.size() <= std::numeric_limits<int>::max() && isWellFormed(bytes)
        && decodeStrict(bytes.data(), int(bytes.size()), text)) {
        return text;
    }
    text.clear();
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = characterLength(bytes, at);
        const bool known = (length == 2 || isSingleByte(uchar(bytes[at])))
                           && decodeStrict(bytes.data() + at, int(length), text);
        if (!known)
            text.append(QChar::ReplacementCharacter);
        at += length;
    }
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    if (text.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int wideSize = int(text.size());
    // No best fit: "¥" must not quietly become a backslash, nor "é" an "e".
    // A character the code page lacks takes the default character and sets
    // the flag, which refuses the whole text.
    const int needed = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, wideSize,
                                           nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::nullopt;
    QByteArray bytes(needed, Qt::Uninitialized);
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, wideSize,
                                            bytes.data(), needed, nullptr, &usedDefault);
    if (written != needed || usedDefault)
        return std::nullopt;
    return bytes;
}

} // namespace Cp932

#else

namespace {

constexpr const char *CodecName = "windows-31j";

// The decoder is costly to open and runs for every text read, so one lives
// for the whole run. Qt without ICU has no CP932 at all; a board that could
// not read its file correctly must not start, so that is a hard stop rather
// than mojibake.
QStringDecoder &decoder()
{
    static QStringDecoder d = [] {
        QStringDecoder made(CodecName, QStringConverter::Flag::Stateless);
        if (!made.isValid())
            qFatal("roomboard: this Qt has no %s (CP932) converter", CodecName);
        return made;
    }();
    return d;
}

// A fresh encoder for every text: Qt 6.4 does not clear an ICU encoder's
// error count on resetState(), so after one refused text every later one
// would be refused too. Texts are encoded once a booking, so this is cheap.
QStringEncoder encoder()
{
    QStringEncoder made(CodecName, QStringConverter::Flag::Stateless);
    if (!made.isValid())
        qFatal("roomboard: this Qt has no %s (CP932) converter", CodecName);
    return made;
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes)
{
    // The converter silently drops a lead byte cut off at the end of its
    // input. A trailing space, which can never be a second byte, makes it
    // report that byte like any other invalid one; the space is taken off again.
    QByteArray guarded;
    guarded.reserve(bytes.size() + 1);
    guarded.append(bytes.data(), bytes.size());
    guarded.append(' ');

    QStringDecoder &d = decoder();
    d.resetState();
    QString text = d.decode(guarded);
    d.resetState();
    text.chop(1);
    // Invalid bytes come back as SUB (U+001A); show them as the usual
    // replacement character instead.
    text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder e = encoder();
    QByteArray bytes = e.encode(text);
    if (e.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace Cp932

#endif

namespace Cp932 {

qsizetype characterLength(QByteArrayView bytes, qsizetype at)
{
    const bool pair = at + 1 < bytes.size() && isLeadByte(uchar(bytes[at]))
                      && isTrailByte(uchar(bytes[at + 1]));
    return pair ? 2 : 1;
}

} // namespace Cp932
