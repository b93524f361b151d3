#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringDecoder>

// A UTF-16 file read as UTF-8, so that a booking file someone saved as
// UTF-16 goes through the line reader and the replay like any other, a chunk
// at a time. Read-only and sequential; reads the source from where it stands.
class Utf16Device : public QIODevice
{
public:
    // Reads no more than `limit` bytes of the source: the size the file had
    // when opened, so that a file growing meanwhile is not chased.
    Utf16Device(QIODevice &source, bool bigEndian, qint64 limit);

    bool isSequential() const override { return true; }
    // Bytes of the source read so far.
    qint64 sourceBytesRead() const { return m_sourceBytes; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &m_source;
    QStringDecoder m_decoder;
    QByteArray m_pending; // converted, not yet handed out
    qsizetype m_pendingAt = 0;
    qint64 m_sourceBytes = 0;
    qint64 m_limit;
};
