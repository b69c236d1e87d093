#include "fuzz/HtmlTokenizer.h"

#include "fuzz/FuzzSupport.h"

#include <algorithm>

namespace pelbrook::fuzz {

namespace {

constexpr char32_t EndOfFile = 0xFFFFFFFF;
constexpr char32_t Replacement = 0xFFFD;

// CR LF and lone CR become LF before anything else sees the page.
QList<char32_t> preprocess(const QString &page)
{
    QList<char32_t> stream;
    stream.reserve(page.size());
    for (qsizetype i = 0; i < page.size(); ++i) {
        const QChar c = page.at(i);
        if (c == u'\r') {
            stream.append('\n');
            if (i + 1 < page.size() && page.at(i + 1) == u'\n')
                ++i;
        } else if (c.isHighSurrogate() && i + 1 < page.size() && page.at(i + 1).isLowSurrogate()) {
            stream.append(QChar::surrogateToUcs4(c, page.at(i + 1)));
            ++i;
        } else {
            // A lone surrogate cannot come out of UTF-8 decoding; it would stay as it is.
            stream.append(c.unicode());
        }
    }
    return stream;
}

bool isWhitespace(char32_t c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == ' ';
}
bool isUpperAlpha(char32_t c)
{
    return c >= 'A' && c <= 'Z';
}
bool isAlpha(char32_t c)
{
    return isUpperAlpha(c) || (c >= 'a' && c <= 'z');
}
bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}
bool isAlphanumeric(char32_t c)
{
    return isAlpha(c) || isDigit(c);
}
int hexValue(char32_t c)
{
    if (isDigit(c))
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}
char32_t toLower(char32_t c)
{
    return isUpperAlpha(c) ? c + 0x20 : c;
}

void append(QString &text, char32_t c)
{
    appendCodePoint(text, c);
}

// References from 0x80 to 0x9F name the windows-1252 characters in that place.
char32_t windows1252(char32_t c)
{
    static const char32_t table[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return (c >= 0x80 && c <= 0x9F) ? table[c - 0x80] : c;
}

class Tokenizer
{
public:
    explicit Tokenizer(const QString &page)
        : m_input(preprocess(page))
    {
    }

    QList<HtmlToken> run()
    {
        while (!m_stopped)
            dataState();
        return m_tokens;
    }

private:
    enum class Quote { Double, Single, None };

    char32_t next()
    {
        return m_position < m_input.size() ? m_input[m_position++] : (++m_position, EndOfFile);
    }
    void reconsume() { --m_position; }
    char32_t peek(qsizetype ahead = 0) const
    {
        return m_position + ahead < m_input.size() ? m_input[m_position + ahead] : EndOfFile;
    }

    void emitCharacter(char32_t c)
    {
        HtmlToken token;
        token.kind = HtmlToken::Character;
        append(token.name, c);
        m_tokens.append(token);
    }
    void emitUnknownAndStop()
    {
        HtmlToken token;
        token.kind = HtmlToken::Unknown;
        m_tokens.append(token);
        m_stopped = true;
    }
    void emitTag()
    {
        // The first of two attributes with one name wins; the second is dropped.
        QList<HtmlAttribute> kept;
        for (const HtmlAttribute &attribute : m_tag.attributes) {
            if (std::none_of(kept.begin(), kept.end(), [&](const HtmlAttribute &k) { return k.name == attribute.name; }))
                kept.append(attribute);
        }
        m_tag.attributes = kept;
        m_tokens.append(m_tag);
    }

    void dataState()
    {
        const char32_t c = next();
        if (c == EndOfFile)
            m_stopped = true;
        else if (c == '<')
            tagOpen();
        else
            emitCharacter(c); // "&" too: any character here fails a check, decoded or not
    }

    void tagOpen()
    {
        const char32_t c = next();
        if (c == '!' || c == '?') {
            emitUnknownAndStop();
        } else if (c == '/') {
            const char32_t d = next();
            if (isAlpha(d)) {
                reconsume();
                m_tag = HtmlToken{HtmlToken::EndTag, {}, {}, false};
                tagName();
            } else if (d == '>') {
                // "</>" is dropped.
            } else if (d == EndOfFile) {
                emitCharacter('<');
                emitCharacter('/');
                m_stopped = true;
            } else {
                emitUnknownAndStop(); // a bogus comment
            }
        } else if (isAlpha(c)) {
            reconsume();
            m_tag = HtmlToken{HtmlToken::StartTag, {}, {}, false};
            tagName();
        } else {
            emitCharacter('<');
            reconsume();
        }
    }

    // Each state below returns when the tag is emitted (back to data) or the input ends.
    void tagName()
    {
        for (;;) {
            const char32_t c = next();
            if (isWhitespace(c))
                return beforeAttributeName();
            if (c == '/')
                return selfClosingStartTag();
            if (c == '>')
                return emitTag();
            if (c == EndOfFile)
                return stop();
            append(m_tag.name, c == 0 ? Replacement : toLower(c));
        }
    }

    void beforeAttributeName()
    {
        for (;;) {
            const char32_t c = next();
            if (isWhitespace(c))
                continue;
            if (c == '/' || c == '>' || c == EndOfFile) {
                reconsume();
                return afterAttributeName();
            }
            m_tag.attributes.append(HtmlAttribute{});
            if (c == '=') {
                m_tag.attributes.last().name = QStringLiteral("=");
                return attributeName();
            }
            reconsume();
            return attributeName();
        }
    }

    void attributeName()
    {
        for (;;) {
            const char32_t c = next();
            if (isWhitespace(c) || c == '/' || c == '>' || c == EndOfFile) {
                reconsume();
                return afterAttributeName();
            }
            if (c == '=')
                return beforeAttributeValue();
            append(m_tag.attributes.last().name, c == 0 ? Replacement : toLower(c));
        }
    }

    void afterAttributeName()
    {
        for (;;) {
            const char32_t c = next();
            if (isWhitespace(c))
                continue;
            if (c == '/')
                return selfClosingStartTag();
            if (c == '=')
                return beforeAttributeValue();
            if (c == '>')
                return emitTag();
            if (c == EndOfFile)
                return stop();
            m_tag.attributes.append(HtmlAttribute{});
            reconsume();
            return attributeName();
        }
    }

    void beforeAttributeValue()
    {
        for (;;) {
            const char32_t c = next();
            if (isWhitespace(c))
                continue;
            if (c == '"')
                return attributeValue(Quote::Double);
            if (c == '\'')
                return attributeValue(Quote::Single);
            if (c == '>')
                return emitTag();
            reconsume();
            return attributeValue(Quote::None);
        }
    }

    void attributeValue(Quote quote)
    {
        QString &value = m_tag.attributes.last().value;
        for (;;) {
            const char32_t c = next();
            if ((quote == Quote::Double && c == '"') || (quote == Quote::Single && c == '\''))
                return afterAttributeValueQuoted();
            if (quote == Quote::None && isWhitespace(c))
                return beforeAttributeName();
            if (quote == Quote::None && c == '>')
                return emitTag();
            if (c == EndOfFile)
                return stop();
            if (c == '&') {
                if (!characterReference(value))
                    return emitUnknownAndStop();
                continue;
            }
            append(value, c == 0 ? Replacement : c);
        }
    }

    void afterAttributeValueQuoted()
    {
        const char32_t c = next();
        if (isWhitespace(c))
            return beforeAttributeName();
        if (c == '/')
            return selfClosingStartTag();
        if (c == '>')
            return emitTag();
        if (c == EndOfFile)
            return stop();
        reconsume();
        return beforeAttributeName();
    }

    void selfClosingStartTag()
    {
        const char32_t c = next();
        if (c == '>') {
            m_tag.selfClosing = true;
            return emitTag();
        }
        if (c == EndOfFile)
            return stop();
        reconsume();
        return beforeAttributeName();
    }

    void stop() { m_stopped = true; }

    // After "&" in an attribute value. False for a named reference this tokenizer does not know.
    bool characterReference(QString &value)
    {
        const char32_t c = peek();
        if (c == '#') {
            numericCharacterReference(value);
            return true;
        }
        if (!isAlphanumeric(c)) {
            value.append(QLatin1Char('&'));
            return true;
        }
        QString name;
        qsizetype length = 0;
        while (isAlphanumeric(peek(length)))
            append(name, peek(length++));
        if (peek(length) != ';')
            return false;
        static const QList<std::pair<QString, QString>> known = {
            {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
            {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
            {QStringLiteral("apos"), QStringLiteral("'")}};
        for (const auto &[reference, character] : known) {
            if (name == reference) {
                m_position += length + 1;
                value += character;
                return true;
            }
        }
        return false;
    }

    void numericCharacterReference(QString &value)
    {
        next(); // "#"
        const bool hex = peek() == 'x' || peek() == 'X';
        if (hex)
            next();
        const auto digitValue = [hex](char32_t c) { return hex ? hexValue(c) : (isDigit(c) ? int(c - '0') : -1); };
        if (digitValue(peek()) < 0) {
            // No digits: the characters stay as they are.
            value += hex ? QStringLiteral("&#") + QChar(m_input[m_position - 1]) : QStringLiteral("&#");
            return;
        }
        char32_t code = 0;
        while (digitValue(peek()) >= 0) {
            code = code * (hex ? 16 : 10) + char32_t(digitValue(next()));
            if (code > 0x10FFFF)
                code = 0x110000; // stays out of range, without overflowing
        }
        if (peek() == ';')
            next();
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = Replacement;
        append(value, windows1252(code));
    }

    QList<char32_t> m_input;
    qsizetype m_position = 0;
    QList<HtmlToken> m_tokens;
    HtmlToken m_tag;
    bool m_stopped = false;
};

} // namespace

QList<HtmlToken> tokenizeHtml(const QString &page)
{
    return Tokenizer(page).run();
}

} // namespace pelbrook::fuzz
