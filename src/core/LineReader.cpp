#include "core/LineReader.h"

#include <QIODevice>
#include <cstring>

LineReader::LineReader(QIODevice &device, qint64 startOffset, qint64 endOffset, bool skipping)
    : m_device(device)
    , m_bufferOffset(startOffset)
    , m_completeEnd(startOffset)
    , m_remaining(qMax<qint64>(0, endOffset - startOffset))
    , m_skipping(skipping)
{
    m_buffer.resize(TailSize + ChunkSize + MaxLineLength);
}

// Moves the unread rest, and the tail before it, to the front and reads one
// more chunk behind it.
bool LineReader::fill()
{
    if (m_eof || m_remaining == 0) {
        m_eof = true;
        return false;
    }
    const qsizetype from = m_begin - qMin(m_begin, TailSize);
    const qsizetype kept = m_end - from;
    if (kept > 0 && from > 0)
        std::memmove(m_buffer.data(), m_buffer.constData() + from, kept);
    m_bufferOffset += from;
    m_begin -= from;
    m_end = kept;
    const qint64 room = qMin<qint64>(m_buffer.size() - m_end, m_remaining);
    const qint64 got = m_device.read(m_buffer.data() + m_end, room);
    if (got < 0) {
        m_failed = true;
        m_eof = true;
        return false;
    }
    if (got == 0) {
        m_eof = true;
        return false;
    }
    m_end += got;
    m_remaining -= got;
    m_bytesRead += got;
    return true;
}

QByteArrayView LineReader::tail() const
{
    const qint64 end = m_completeEnd - m_bufferOffset;
    if (end < 0 || end > m_end)
        return {};
    const qint64 start = qMax<qint64>(0, end - TailSize);
    return QByteArrayView(m_buffer.constData() + start, end - start);
}

bool LineReader::next(QByteArrayView &line)
{
    for (;;) {
        const char *data = m_buffer.constData();
        const void *lf = std::memchr(data + m_begin, '\n', m_end - m_begin);
        if (lf) {
            const qsizetype stop = static_cast<const char *>(lf) - data;
            const qsizetype start = m_begin;
            m_begin = stop + 1;
            m_completeEnd = m_bufferOffset + m_begin;
            if (m_skipping) {
                m_skipping = false;
                continue;
            }
            qsizetype length = stop - start;
            if (length > 0 && data[start + length - 1] == '\r')
                --length;
            // A long line that happens to lie whole in one chunk is passed
            // over all the same.
            if (length > MaxLineLength) {
                ++m_overlong;
                continue;
            }
            line = QByteArrayView(data + start, length);
            return true;
        }

        // One byte more than the cap may be the CR of a CR LF still to come.
        if (m_end - m_begin > MaxLineLength + 1) {
            // Too long to be a record: forget what we have and drop the rest
            // of this line as it arrives.
            if (!m_skipping)
                ++m_overlong;
            m_skipping = true;
            m_begin = m_end;
        }

        if (!fill()) {
            if (m_failed)
                return false;
            // The last line of a file need not end with a line end.
            if (m_begin < m_end && !m_skipping) {
                line = QByteArrayView(m_buffer.constData() + m_begin, m_end - m_begin);
                m_begin = m_end;
                if (line.endsWith('\r'))
                    line.chop(1);
                if (line.size() <= MaxLineLength)
                    return true;
                ++m_overlong;
            }
            return false;
        }
    }
}
