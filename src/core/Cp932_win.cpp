#include "core/Cp932.h"

#include <limits>
#include <windows.h>

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
