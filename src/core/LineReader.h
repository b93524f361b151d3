#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Splits a booking file into lines, CR LF or bare LF ending each; the last
// line counts even without its line end. Reads in fixed chunks and never
// holds a line longer than MaxLineLength: such a line is passed over whole,
// so a damaged file costs neither memory nor the lines after it.
class LineReader
{
public:
    static constexpr qsizetype ChunkSize = 64 * 1024;
    static constexpr qsizetype MaxLineLength = 4096;
    // Bytes kept from before the unread rest when the next chunk is read, so
    // that the end of the last whole line is still at hand: a reader coming
    // back later recognises its file by them.
    static constexpr qsizetype TailSize = 64;

    // Reads from the device's current position, which the caller gives as
    // startOffset so that completeEnd() can speak in file offsets, up to
    // endOffset at most: what a writer appends meanwhile waits for the next
    // read, and a device without an end (/dev/zero) reads as empty.
    // `skipping`: the start lies inside a line already known to be too long,
    // which is passed over up to its end.
    LineReader(QIODevice &device, qint64 startOffset, qint64 endOffset, bool skipping = false);

    // The next line without its line end; false at end of input or on a
    // read error (see failed()).
    bool next(QByteArrayView &line);

    bool failed() const { return m_failed; }
    // The file offset just past the last line end read so far. A last line
    // without its line end is not included: it may still be being written.
    qint64 completeEnd() const { return m_completeEnd; }
    // Lines passed over for their length.
    qint64 overlongLines() const { return m_overlong; }
    // Up to TailSize bytes just before completeEnd(), as far as they were
    // read here: fewer when the read started closer to it than that, or
    // when a line too long to keep ran on to the end.
    QByteArrayView tail() const;
    qint64 bytesRead() const { return m_bytesRead; }

private:
    bool fill();

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_bufferOffset; // file offset of m_buffer[0]
    qint64 m_completeEnd;
    qint64 m_remaining;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_skipping = false;
    qint64 m_overlong = 0;
    qint64 m_bytesRead = 0;
};
