#include "formats/geometryfields.h"

#include "base/linelist.h"
#include "base/messagetext.h"

#include <bit>
#include <cmath>
#include <limits>

namespace kelvane {

namespace {

qsizetype valueCount(QByteArrayView line)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!isBlank(line[i]) && (i == 0 || isBlank(line[i - 1])))
            ++count;
    }
    return count;
}

// Decimal digits only, no sign, at most limit.
std::optional<quint64> digitsOf(QByteArrayView text, quint64 limit)
{
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + quint64(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

QString FieldItem::text() const
{
    if (number == 0)
        return QLatin1String(noun);
    return QStringLiteral("%1 %2 of %3").arg(QLatin1String(noun)).arg(number).arg(of);
}

std::nullopt_t GeometryFields::fail(const QString &fault)
{
    if (m_fault.isEmpty())
        m_fault = fault;
    return std::nullopt;
}

std::nullopt_t BinaryFields::endsEarly(const QString &what)
{
    return fail(QStringLiteral("the file ends within %1 (at byte %2); it is cut short or damaged.")
                    .arg(what)
                    .arg(m_in.position()));
}

std::optional<QByteArray> BinaryFields::name(const FieldItem &item)
{
    if (failed())
        return std::nullopt;
    std::optional<QByteArray> text = m_in.string();
    if (!text)
        return endsEarly(item.text());
    return text;
}

std::optional<quint32> BinaryFields::count(const QString &what, qsizetype leastBinaryBytes,
                                           qsizetype)
{
    if (failed())
        return std::nullopt;
    const qsizetype at = m_in.position();
    const std::optional<quint32> value = m_in.u32();
    if (!value)
        return endsEarly(QStringLiteral("the count of ") + what);
    if (quint64(*value) * quint64(leastBinaryBytes) > quint64(m_in.remaining()))
        return fail(QStringLiteral("it gives %1 %2 (at byte %3), but only %4 bytes follow, too few "
                                   "for them; it is cut short or damaged.")
                        .arg(*value)
                        .arg(what)
                        .arg(at)
                        .arg(m_in.remaining()));
    return value;
}

bool BinaryFields::record(const FieldItem &item, int, bool)
{
    m_item = item;
    return !failed();
}

std::optional<quint32> BinaryFields::u32()
{
    if (failed())
        return std::nullopt;
    const std::optional<quint32> value = m_in.u32();
    if (!value)
        return endsEarly(m_item.text());
    return value;
}

std::optional<qint32> BinaryFields::i32()
{
    const std::optional<quint32> value = u32();
    if (!value)
        return std::nullopt;
    return std::bit_cast<qint32>(*value);
}

std::optional<float> BinaryFields::f32()
{
    const std::optional<quint32> bits = u32();
    if (!bits)
        return std::nullopt;
    const float value = std::bit_cast<float>(*bits);
    if (!std::isfinite(value))
        return fail(QStringLiteral("%1 holds a number that is not finite (at byte %2); the file "
                                   "is damaged.")
                        .arg(m_item.text())
                        .arg(m_in.position() - 4));
    return value;
}

bool BinaryFields::finished()
{
    if (failed())
        return false;
    if (m_in.atEnd())
        return true;
    fail(QStringLiteral("%1 bytes follow the end of the mesh (at byte %2); the file is damaged "
                        "or another kind of file.")
             .arg(m_in.remaining())
             .arg(m_in.position()));
    return false;
}

TextFields::TextFields(QByteArrayView text, qsizetype judgedBytes)
    : m_text(text),
      m_lineEnd(lineEndOf(judgedBytes < 0 ? text : text.first(qMin(judgedBytes, text.size())))),
      m_done(text.isEmpty())
{
}

std::optional<QByteArrayView> TextFields::nextLine(const QString &what)
{
    if (failed())
        return std::nullopt;
    if (m_done)
        return fail(QStringLiteral("the file ends before line %1 (%2); it is cut short.")
                        .arg(m_line + 1)
                        .arg(what));
    ++m_line;
    const qsizetype end = m_text.indexOf(m_lineEnd, m_at);
    if (end < 0) {
        m_done = true;
        return m_text.sliced(m_at);
    }
    const QByteArrayView line = m_text.sliced(m_at, end - m_at);
    m_at = end + m_lineEnd.size();
    return line;
}

std::optional<QByteArray> TextFields::name(const FieldItem &item)
{
    const std::optional<QByteArrayView> line = nextLine(item.text());
    if (!line)
        return std::nullopt;
    return line->toByteArray();
}

std::optional<quint32> TextFields::count(const QString &what, qsizetype, qsizetype leastTextBytes)
{
    const std::optional<QByteArrayView> line = nextLine(QStringLiteral("the count of ") + what);
    if (!line)
        return std::nullopt;
    const std::optional<quint64> value =
        digitsOf(trimmedBlanks(*line), std::numeric_limits<quint32>::max());
    if (!value)
        return fail(QStringLiteral("line %1 should be the count of %2 (a whole number), but it "
                                   "is %3.")
                        .arg(m_line)
                        .arg(what, quotedBytes(*line)));
    // The last line needs no line end.
    const qsizetype left = m_done ? 0 : m_text.size() - m_at + 1;
    if (*value * quint64(leastTextBytes) > quint64(left))
        return fail(QStringLiteral("line %1 gives %2 %3, but only %4 bytes follow, too few for "
                                   "them; the file is cut short or damaged.")
                        .arg(m_line)
                        .arg(*value)
                        .arg(what)
                        .arg(qMax<qsizetype>(0, left - 1)));
    return quint32(*value);
}

bool TextFields::record(const FieldItem &item, int values, bool barred)
{
    m_item = item;
    const std::optional<QByteArrayView> line = nextLine(item.text());
    if (!line)
        return false;
    QByteArrayView inside = trimmedBlanks(*line);
    const bool bars = inside.size() >= 2 && inside.startsWith('|') && inside.endsWith('|');
    if (barred && bars)
        inside = inside.sliced(1, inside.size() - 2);
    if ((barred && !bars) || valueCount(inside) != values) {
        fail(QStringLiteral("line %1 (%2) should hold %3 numbers%4, but it is %5.")
                 .arg(m_line)
                 .arg(item.text())
                 .arg(values)
                 .arg(barred ? QStringLiteral(" between bars (\"| ... |\")") : QString())
                 .arg(quotedBytes(*line)));
        return false;
    }
    m_values = inside;
    return true;
}

std::optional<QByteArrayView> TextFields::nextValue()
{
    if (failed())
        return std::nullopt;
    qsizetype begin = 0;
    while (begin < m_values.size() && isBlank(m_values[begin]))
        ++begin;
    qsizetype end = begin;
    while (end < m_values.size() && !isBlank(m_values[end]))
        ++end;
    const QByteArrayView value = m_values.sliced(begin, end - begin);
    m_values = m_values.sliced(end);
    // A record's values were counted when it began: one is there.
    Q_ASSERT(!value.isEmpty());
    return value;
}

std::nullopt_t TextFields::badValue(QByteArrayView value, const char *expected)
{
    return fail(QStringLiteral("line %1 (%2): %3 is not %4.")
                    .arg(m_line)
                    .arg(m_item.text(), quotedBytes(value), QLatin1String(expected)));
}

std::optional<quint32> TextFields::u32()
{
    const std::optional<QByteArrayView> value = nextValue();
    if (!value)
        return std::nullopt;
    const std::optional<quint64> number = digitsOf(*value, std::numeric_limits<quint32>::max());
    if (!number)
        return badValue(*value, "a whole number from 0 to 4294967295");
    return quint32(*number);
}

std::optional<qint32> TextFields::i32()
{
    const std::optional<QByteArrayView> value = nextValue();
    if (!value)
        return std::nullopt;
    const bool negative = value->startsWith('-');
    const std::optional<quint64> number =
        digitsOf(value->sliced(negative ? 1 : 0), quint64(std::numeric_limits<qint32>::max()) + 1);
    if (!number || (!negative && *number > quint64(std::numeric_limits<qint32>::max())))
        return badValue(*value, "a whole number from -2147483648 to 2147483647");
    return negative ? qint32(-qint64(*number)) : qint32(*number);
}

std::optional<float> TextFields::f32()
{
    const std::optional<QByteArrayView> value = nextValue();
    if (!value)
        return std::nullopt;
    bool ok = false;
    const float number = value->toFloat(&ok);
    if (!ok || !std::isfinite(number))
        return badValue(*value, "a finite number");
    return number;
}

bool TextFields::finished()
{
    if (failed())
        return false;
    if (m_done)
        return true;
    const QByteArrayView rest = m_text.sliced(m_at);
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (!isBlank(rest[i]) && rest[i] != '\r' && rest[i] != '\n') {
            const qsizetype line = m_line + 1 + rest.first(i).count(m_lineEnd);
            fail(QStringLiteral("line %1 follows the end of the mesh; the file is damaged or "
                                "another kind of file.")
                     .arg(line));
            return false;
        }
    }
    return true;
}

} // namespace kelvane
