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

} // namespace Cp932
