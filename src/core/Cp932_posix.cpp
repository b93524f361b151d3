#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

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
