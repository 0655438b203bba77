#include "platform/keyvalues.h"

namespace kelvane {

namespace {

// Deeper blocks are skipped, so that no file can exhaust the stack.
constexpr int kMaxDepth = 32;

class Reader
{
public:
    explicit Reader(const QByteArray &text) : m_text(text) {}

    QList<KeyValue> block(int depth)
    {
        QList<KeyValue> entries;
        while (true) {
            const Token key = next();
            if (key.kind == Token::Close && depth == 0)
                continue;
            if (key.kind == Token::End || key.kind == Token::Close)
                return entries;
            if (key.kind == Token::Open) {
                // A block without a key: read past it.
                skipBlock();
                continue;
            }
            Token value = next();
            while (value.kind == Token::Text && isCondition(value))
                value = next();
            KeyValue entry{QString::fromUtf8(key.text), {}, {}, false};
            if (value.kind == Token::Text) {
                entry.value = QString::fromUtf8(value.text);
                // A condition may follow the value.
                skipCondition();
            } else if (value.kind == Token::Open) {
                entry.isBlock = true;
                if (depth >= kMaxDepth)
                    skipBlock();
                else
                    entry.block = block(depth + 1);
            } else {
                return entries;
            }
            entries.append(std::move(entry));
        }
    }

private:
    struct Token {
        enum Kind { Text, Open, Close, End } kind;
        QByteArray text;
        bool quoted = false;
    };

    static bool isCondition(const Token &token)
    {
        return !token.quoted && token.text.startsWith('[') && token.text.endsWith(']');
    }

    void skipCondition()
    {
        const qsizetype before = m_at;
        const Token token = next();
        if (!(token.kind == Token::Text && isCondition(token)))
            m_at = before;
    }

    void skipBlock()
    {
        for (int open = 1; open > 0;) {
            const Token token = next();
            if (token.kind == Token::End)
                return;
            if (token.kind == Token::Open)
                ++open;
            else if (token.kind == Token::Close)
                --open;
        }
    }

    void skipSpaceAndComments()
    {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++m_at;
            } else if (c == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
                const qsizetype end = m_text.indexOf('\n', m_at);
                m_at = end < 0 ? m_text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    Token next()
    {
        skipSpaceAndComments();
        if (m_at >= m_text.size())
            return {Token::End, {}};
        const char c = m_text[m_at];
        if (c == '{' || c == '}') {
            ++m_at;
            return {c == '{' ? Token::Open : Token::Close, {}};
        }
        if (c == '"')
            return quoted();
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !QByteArrayView(" \t\r\n{}\"").contains(m_text[m_at]))
            ++m_at;
        return {Token::Text, m_text.mid(start, m_at - start)};
    }

    Token quoted()
    {
        QByteArray text;
        for (++m_at; m_at < m_text.size() && m_text[m_at] != '"'; ++m_at) {
            char c = m_text[m_at];
            if (c == '\\' && m_at + 1 < m_text.size()) {
                switch (m_text[m_at + 1]) {
                case '\\':
                case '"':
                    c = m_text[++m_at];
                    break;
                case 'n':
                    c = '\n';
                    ++m_at;
                    break;
                case 't':
                    c = '\t';
                    ++m_at;
                    break;
                default:
                    break;
                }
            }
            text.append(c);
        }
        ++m_at; // the closing quote
        return {Token::Text, text, true};
    }

    const QByteArray &m_text;
    qsizetype m_at = 0;
};

} // namespace

QList<KeyValue> parseKeyValues(const QByteArray &text)
{
    return Reader(text).block(0);
}

} // namespace kelvane
