#pragma once

#include "base/bytereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kelvane {

// What a value being read belongs to, for messages: "face 4 of 12" or "the
// mesh name". Formatted only when something is wrong.
struct FieldItem {
    const char *noun = "";
    quint32 number = 0; // counted from 1; 0 for an item that is one of a kind
    quint32 of = 0;
    QString text() const;
};

// The values of the game's mesh and skeleton files, read in order from either
// layout: one after another in the binary files (u32 counts and numbers,
// floats, names as a length byte and the bytes), a line per name, count or
// record of blank-separated numbers in the text files. A count is checked
// against the bytes left before anything is taken for it; a float must be
// finite. The first fault is kept, and every read after it gives nothing.
class GeometryFields
{
public:
    virtual ~GeometryFields() = default;

    // A name: a line of its own, or a length byte and that many bytes.
    virtual std::optional<QByteArray> name(const FieldItem &item) = 0;
    // A count of items taking at least leastBinaryBytes each in a binary file
    // and leastTextBytes (line ends included) in a text one.
    virtual std::optional<quint32> count(const QString &what, qsizetype leastBinaryBytes,
                                         qsizetype leastTextBytes) = 0;
    // Begins a record of values: in a text file one line holding exactly that
    // many, between bars ("| x y z |") when barred.
    virtual bool record(const FieldItem &item, int values, bool barred = false) = 0;
    virtual std::optional<quint32> u32() = 0;
    virtual std::optional<qint32> i32() = 0;
    virtual std::optional<float> f32() = 0;
    // Whether nothing but blank lines (text) or nothing at all (binary) is left.
    virtual bool finished() = 0;

    bool failed() const { return !m_fault.isEmpty(); }
    const QString &fault() const { return m_fault; }
    // Keeps the first fault only; gives nothing, for the caller to return.
    std::nullopt_t fail(const QString &fault);

protected:
    FieldItem m_item;

private:
    QString m_fault;
};

class BinaryFields final : public GeometryFields
{
public:
    explicit BinaryFields(QByteArrayView bytes) : m_in(bytes) {}

    std::optional<QByteArray> name(const FieldItem &item) override;
    std::optional<quint32> count(const QString &what, qsizetype leastBinaryBytes,
                                 qsizetype leastTextBytes) override;
    bool record(const FieldItem &item, int values, bool barred) override;
    std::optional<quint32> u32() override;
    std::optional<qint32> i32() override;
    std::optional<float> f32() override;
    bool finished() override;

private:
    std::nullopt_t endsEarly(const QString &what);

    ByteReader m_in;
};

class TextFields final : public GeometryFields
{
public:
    // Lines end in CR LF, or in LF in a text holding no CR LF (as splitLines
    // cuts them), judged from the first judgedBytes of the text (all of it
    // when negative); they are counted from 0 in messages, as the game's are.
    explicit TextFields(QByteArrayView text, qsizetype judgedBytes = -1);

    std::optional<QByteArray> name(const FieldItem &item) override;
    std::optional<quint32> count(const QString &what, qsizetype leastBinaryBytes,
                                 qsizetype leastTextBytes) override;
    bool record(const FieldItem &item, int values, bool barred) override;
    std::optional<quint32> u32() override;
    std::optional<qint32> i32() override;
    std::optional<float> f32() override;
    bool finished() override;

private:
    std::optional<QByteArrayView> nextLine(const QString &what);
    std::optional<QByteArrayView> nextValue();
    std::nullopt_t badValue(QByteArrayView value, const char *expected);

    QByteArrayView m_text;
    QByteArrayView m_lineEnd;
    qsizetype m_at = 0;
    bool m_done = false;
    qsizetype m_line = -1;
    QByteArrayView m_values; // what is left of the record's line
};

} // namespace kelvane
