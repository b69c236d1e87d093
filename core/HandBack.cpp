#include "core/HandBack.h"

#include "platform/HexDigit.h"

#include <QStringDecoder>

namespace pelbrook {

std::optional<QString> decodeFragment(const QString &encodedFragment)
{
    QByteArray bytes;
    bytes.reserve(encodedFragment.size());
    qsizetype i = 0;
    while (i < encodedFragment.size()) {
        if (encodedFragment.at(i) != QLatin1Char('%')) {
            qsizetype next = encodedFragment.indexOf(QLatin1Char('%'), i);
            if (next < 0)
                next = encodedFragment.size();
            bytes += encodedFragment.mid(i, next - i).toUtf8();
            i = next;
            continue;
        }
        if (i + 2 >= encodedFragment.size())
            return std::nullopt;
        const int high = hexDigitValue(encodedFragment.at(i + 1));
        const int low = hexDigitValue(encodedFragment.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 3;
    }
    // The result is exactly the decoded bytes: a leading byte-order mark is part of it, not a
    // marker for the decoder to drop.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> handBackResult(const QUrl &url)
{
    if (!url.hasFragment())
        return std::nullopt;
    // Decode what the address carries, not a form the URL class has already decoded.
    return decodeFragment(url.fragment(QUrl::FullyEncoded));
}

} // namespace pelbrook
