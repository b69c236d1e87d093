#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

#include <utility>

namespace pelbrook {

/**
 * Reads one HTTP/1.x response from the bytes of a connection, as they arrive, within bounds.
 *
 * The status line, the headers and the trailers of a chunked body take at most
 * MaximumHeadBytes together, with at most MaximumHeaderLines header and trailer lines; the
 * body at most the maximum given. Past a bound, or on anything that is not HTTP, the parser
 * fails at once and drops what it holds, so a hostile server costs at most the bounds.
 *
 * Interim (1xx) responses are skipped. The body is framed by `Transfer-Encoding: chunked`, by
 * Content-Length (bytes past it are ignored) or by the end of the connection; it is not decoded
 * further, since the client asks for no content coding.
 *
 * A plain value: no I/O and no event loop. Use one parser per response.
 */
class HttpResponseParser
{
public:
    enum class Progress {
        Incomplete, ///< more bytes, or the end of the connection, are needed
        Complete,   ///< the whole response was read; later bytes are ignored
        Failed,     ///< not a response within the bounds; later bytes are ignored
    };

    static constexpr qsizetype MaximumHeadBytes = 64 * 1024;
    static constexpr int MaximumHeaderLines = 100;
    /// For a chunk-size line with its extensions.
    static constexpr qsizetype MaximumChunkLineBytes = 1024;

    /// @p maximumBody bounds the body; a response to a HEAD request is @p bodiless.
    explicit HttpResponseParser(qint64 maximumBody, bool bodiless = false);

    /// Takes the next bytes of the connection.
    Progress feed(QByteArrayView bytes);
    /// The connection ended: completes a body that runs until the end, fails anything cut short.
    Progress finish();

    Progress progress() const;
    /// The status of the final response once its head is read, 0 before.
    int status() const { return m_status; }
    /// A header of the final response, the name in any case; repeated headers are joined with
    /// ", ". Null when absent.
    QByteArray header(QByteArrayView name) const;
    /// The body; whole once complete, empty after a failure.
    QByteArray takeBody() { return std::exchange(m_body, {}); }

private:
    enum class Stage { StatusLine, HeaderLine, LengthBody, CloseBody, ChunkSize, ChunkData, ChunkEnd, Trailer, Complete, Failed };

    void advance();
    bool takeLine(QByteArray &line);
    bool readStatusLine(QByteArrayView line);
    bool readHeaderLine(QByteArrayView line);
    void endOfHead();
    bool readChunkSize(QByteArrayView line);
    void fail();
    void complete();

    qint64 m_maximumBody;
    bool m_bodiless;
    Stage m_stage = Stage::StatusLine;
    QByteArray m_pending;
    qsizetype m_scanned = 0; ///< bytes of m_pending already searched for a line end
    qsizetype m_headBytesLeft = MaximumHeadBytes;
    int m_headerLinesLeft = MaximumHeaderLines;
    int m_responseStatus = 0; ///< of the response being read, interim ones included
    int m_status = 0;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    QByteArray m_body;
    qint64 m_remaining = 0; ///< of the body by length, or of the current chunk
};

} // namespace pelbrook
