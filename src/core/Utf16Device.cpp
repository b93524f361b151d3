#include "core/Utf16Device.h"

#include <cstring>

namespace {

constexpr qint64 ChunkSize = 64 * 1024;

} // namespace

Utf16Device::Utf16Device(QIODevice &source, bool bigEndian, qint64 limit)
    : m_source(source)
    , m_decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE)
    , m_limit(limit)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 Utf16Device::readData(char *data, qint64 maxSize)
{
    // The decoder keeps a character split between two chunks for the next.
    while (m_pendingAt == m_pending.size()) {
        QByteArray chunk(qMin(ChunkSize, m_limit - m_sourceBytes), Qt::Uninitialized);
        const qint64 got = chunk.isEmpty() ? 0 : m_source.read(chunk.data(), chunk.size());
        if (got <= 0)
            return got;
        m_sourceBytes += got;
        chunk.truncate(got);
        m_pending = QString(m_decoder.decode(chunk)).toUtf8();
        m_pendingAt = 0;
    }
    const qint64 n = qMin<qint64>(maxSize, m_pending.size() - m_pendingAt);
    std::memcpy(data, m_pending.constData() + m_pendingAt, size_t(n));
    m_pendingAt += n;
    return n;
}
