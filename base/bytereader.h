#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kelvane {

// Reads the little-endian numbers and length-prefixed strings of the game's
// binary files from bytes in memory. Every read checks what is left first and
// gives nothing, moving no further, when the bytes end too soon.
class ByteReader final
{
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    std::optional<quint32> u32();
    std::optional<quint16> u16();
    // One length byte, then that many bytes.
    std::optional<QByteArray> string();
    // The next count bytes.
    std::optional<QByteArrayView> bytes(qsizetype count);

    qsizetype position() const { return m_at; }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    bool atEnd() const { return remaining() == 0; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// A string as the binary files store it: a length byte and the bytes; names
// of more than 255 bytes cannot be stored.
void appendString(QByteArray &out, QByteArrayView text);
void appendU32(QByteArray &out, quint32 value);

} // namespace kelvane
