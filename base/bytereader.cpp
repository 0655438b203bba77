#include "base/bytereader.h"

#include <QtEndian>

namespace kelvane {

std::optional<QByteArrayView> ByteReader::bytes(qsizetype count)
{
    if (count < 0 || count > remaining())
        return std::nullopt;
    const QByteArrayView piece = m_bytes.sliced(m_at, count);
    m_at += count;
    return piece;
}

std::optional<quint32> ByteReader::u32()
{
    const std::optional<QByteArrayView> piece = bytes(4);
    if (!piece)
        return std::nullopt;
    return qFromLittleEndian<quint32>(piece->data());
}

std::optional<quint16> ByteReader::u16()
{
    const std::optional<QByteArrayView> piece = bytes(2);
    if (!piece)
        return std::nullopt;
    return qFromLittleEndian<quint16>(piece->data());
}

std::optional<QByteArray> ByteReader::string()
{
    if (atEnd())
        return std::nullopt;
    const qsizetype length = quint8(m_bytes[m_at]);
    if (length + 1 > remaining())
        return std::nullopt;
    ++m_at;
    return bytes(length)->toByteArray();
}

void appendString(QByteArray &out, QByteArrayView text)
{
    Q_ASSERT(text.size() <= 255);
    out += char(quint8(text.size()));
    out += text;
}

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace kelvane
