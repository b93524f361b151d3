#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// The booking file is in Windows code page 932, as written by the room's
// earlier program, on every platform.
namespace Cp932 {

// Bytes that are not valid CP932 decode to U+FFFD rather than failing: a
// damaged record must still show as a booked slot, never as a free one.
QString decode(QByteArrayView bytes);

// Empty when some character has no CP932 form; nothing half-converted is
// ever written to the file.
std::optional<QByteArray> encode(QStringView text);

// How many bytes the character starting at `at` takes: 2 for a lead byte
// followed by a trail byte, otherwise 1, so a byte that is no character, or a
// lead byte without its trail byte, stands alone. The Windows converter is fed
// one character at a time along these lines once it has found a fault.
qsizetype characterLength(QByteArrayView bytes, qsizetype at);

} // namespace Cp932
