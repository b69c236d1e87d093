#include "platform/HttpResponseParser.h"

#include "platform/HexDigit.h"

#include <optional>

namespace pelbrook {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters of a header name.
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

std::optional<qint64> decimal(QByteArrayView digits)
{
    // Eighteen digits always fit in 64 bits, and no body we accept comes near that.
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

HttpResponseParser::HttpResponseParser(qint64 maximumBody, bool bodiless)
    : m_maximumBody(maximumBody)
    , m_bodiless(bodiless)
{
}

HttpResponseParser::Progress HttpResponseParser::feed(QByteArrayView bytes)
{
    if (m_stage != Stage::Complete && m_stage != Stage::Failed) {
        m_pending.append(bytes);
        advance();
    }
    return progress();
}

HttpResponseParser::Progress HttpResponseParser::finish()
{
    if (m_stage == Stage::CloseBody)
        complete();
    else if (m_stage != Stage::Complete)
        fail();
    return progress();
}

HttpResponseParser::Progress HttpResponseParser::progress() const
{
    switch (m_stage) {
    case Stage::Complete:
        return Progress::Complete;
    case Stage::Failed:
        return Progress::Failed;
    default:
        return Progress::Incomplete;
    }
}

QByteArray HttpResponseParser::header(QByteArrayView name) const
{
    QByteArray joined;
    for (const auto &[key, value] : m_headers) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (joined.isNull())
            joined = value.isNull() ? QByteArray("") : value;
        else
            joined += ", " + value;
    }
    return joined;
}

void HttpResponseParser::advance()
{
    QByteArray line;
    for (;;) {
        switch (m_stage) {
        case Stage::StatusLine:
            if (!takeLine(line))
                return;
            if (!readStatusLine(line))
                fail();
            break;
        case Stage::HeaderLine:
            if (!takeLine(line))
                return;
            if (line.isEmpty())
                endOfHead();
            else if (!readHeaderLine(line))
                fail();
            break;
        case Stage::LengthBody: {
            const qsizetype taken = qMin<qint64>(m_remaining, m_pending.size());
            m_body.append(m_pending.constData(), taken);
            m_remaining -= taken;
            // Bytes past the announced length do not belong to this answer.
            m_pending.clear();
            if (m_remaining > 0)
                return;
            complete();
            break;
        }
        case Stage::CloseBody:
            if (m_body.size() + m_pending.size() > m_maximumBody) {
                fail();
                break;
            }
            m_body += m_pending;
            m_pending.clear();
            return;
        case Stage::ChunkSize:
            if (!takeLine(line))
                return;
            if (!readChunkSize(line))
                fail();
            break;
        case Stage::ChunkData: {
            const qsizetype taken = qMin<qint64>(m_remaining, m_pending.size());
            m_body.append(m_pending.constData(), taken);
            m_pending.remove(0, taken);
            m_remaining -= taken;
            if (m_remaining > 0)
                return;
            m_stage = Stage::ChunkEnd;
            break;
        }
        case Stage::ChunkEnd:
            if (!takeLine(line))
                return;
            if (line.isEmpty())
                m_stage = Stage::ChunkSize;
            else
                fail();
            break;
        case Stage::Trailer:
            // Trailers are read for their bounds only; nothing here needs them.
            if (!takeLine(line))
                return;
            if (line.isEmpty())
                complete();
            else if (--m_headerLinesLeft < 0)
                fail();
            break;
        case Stage::Complete:
        case Stage::Failed:
            return;
        }
    }
}

bool HttpResponseParser::takeLine(QByteArray &line)
{
    const bool head = m_stage == Stage::StatusLine || m_stage == Stage::HeaderLine || m_stage == Stage::Trailer;
    // The line that ends a chunk's data is empty: two bytes at most.
    const qsizetype bound = head ? m_headBytesLeft : m_stage == Stage::ChunkSize ? MaximumChunkLineBytes : 2;
    // Searching only the bytes that are new keeps a line that arrives a byte at a time linear.
    const qsizetype end = m_pending.indexOf('\n', m_scanned);
    if (end < 0) {
        m_scanned = m_pending.size();
        // The line feed still to come would take the line past its bound.
        if (m_pending.size() >= bound)
            fail();
        return false;
    }
    if (end + 1 > bound) {
        fail();
        return false;
    }
    if (head)
        m_headBytesLeft -= end + 1;
    line = m_pending.left(end);
    m_pending.remove(0, end + 1);
    m_scanned = 0;
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

bool HttpResponseParser::readStatusLine(QByteArrayView line)
{
    // "HTTP/1.x NNN reason", the reason optional.
    if (line.size() < 12 || !line.startsWith("HTTP/1.") || !isDigit(line[7]) || line[8] != ' ')
        return false;
    if (line.size() > 12 && line[12] != ' ')
        return false;
    const std::optional<qint64> status = decimal(line.sliced(9, 3));
    if (!status || *status < 100 || *status > 599)
        return false;
    m_responseStatus = int(*status);
    m_stage = Stage::HeaderLine;
    return true;
}

bool HttpResponseParser::readHeaderLine(QByteArrayView line)
{
    if (--m_headerLinesLeft < 0 || line.contains('\0') || line.contains('\r'))
        return false;
    if (line.front() == ' ' || line.front() == '\t') {
        // An obsolete folded line continues the previous value, joined by a space.
        if (m_headers.isEmpty())
            return false;
        QByteArray &value = m_headers.last().second;
        value = (value + ' ' + line.trimmed().toByteArray()).trimmed();
        return true;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    const QByteArrayView name = line.first(colon);
    for (char c : name) {
        if (!isTokenChar(c))
            return false;
    }
    m_headers.append({name.toByteArray(), line.sliced(colon + 1).trimmed().toByteArray()});
    return true;
}

void HttpResponseParser::endOfHead()
{
    if (m_responseStatus < 200) {
        // An interim answer: the final one follows. Nothing here asks to switch protocols.
        if (m_responseStatus == 101) {
            fail();
            return;
        }
        m_headers.clear();
        m_stage = Stage::StatusLine;
        return;
    }
    m_status = m_responseStatus;
    if (m_bodiless || m_status == 204 || m_status == 304) {
        complete();
        return;
    }
    const QByteArray coding = header("transfer-encoding");
    if (!coding.isNull()) {
        // It takes precedence over any Content-Length. Only chunked can be read here: another
        // coding would reach the caller undecoded.
        if (coding.compare("chunked", Qt::CaseInsensitive) == 0)
            m_stage = Stage::ChunkSize;
        else
            fail();
        return;
    }
    const QByteArray length = header("content-length");
    if (length.isNull()) {
        m_stage = Stage::CloseBody;
        return;
    }
    // Lengths given more than once must agree, or the end of the body is a guess.
    std::optional<qint64> announced;
    for (const QByteArray &value : length.split(',')) {
        const std::optional<qint64> n = decimal(value.trimmed());
        if (!n || (announced && *announced != *n)) {
            fail();
            return;
        }
        announced = n;
    }
    if (*announced > m_maximumBody) {
        fail();
        return;
    }
    m_remaining = *announced;
    m_body.reserve(m_remaining);
    m_stage = Stage::LengthBody;
    if (m_remaining == 0)
        complete();
}

bool HttpResponseParser::readChunkSize(QByteArrayView line)
{
    // "1a;name=value": the size in hex, then extensions, which nothing here uses.
    const qsizetype semicolon = line.indexOf(';');
    const QByteArrayView digits = (semicolon < 0 ? line : line.first(semicolon)).trimmed();
    if (digits.isEmpty())
        return false;
    const qint64 room = m_maximumBody - m_body.size();
    qint64 size = 0;
    for (char c : digits) {
        const int digit = hexDigitValue(QLatin1Char(c));
        // Checked before the step, so the size can neither pass the room nor overflow.
        if (digit < 0 || digit > room || size > (room - digit) / 16)
            return false;
        size = size * 16 + digit;
    }
    if (size == 0) {
        m_stage = Stage::Trailer;
    } else {
        m_remaining = size;
        m_stage = Stage::ChunkData;
    }
    return true;
}

void HttpResponseParser::fail()
{
    m_stage = Stage::Failed;
    m_pending = {};
    m_scanned = 0;
    m_body = {};
}

void HttpResponseParser::complete()
{
    m_stage = Stage::Complete;
    m_pending = {};
    m_scanned = 0;
}

} // namespace pelbrook
