#pragma once

// What the fuzz targets share: stopping on a broken invariant, and reading fuzz bytes as text.

#include <QString>
#include <QStringDecoder>

#include <cstdio>
#include <string_view>

/// Stops the run when @p condition is false, naming the invariant (never the input, which may
/// look like a card number); libFuzzer then keeps the input as a finding.
#define PELBROOK_FUZZ_REQUIRE(condition, invariant)                                                                    \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, invariant);                     \
            std::fflush(stderr);                                                                                       \
            __builtin_trap();                                                                                          \
        }                                                                                                              \
    } while (false)

namespace pelbrook::fuzz {

/// How fuzz bytes become text. UTF-16 reaches what the other two cannot: lone surrogates and
/// any code unit at all.
enum class Reading { Latin1, Utf8, Utf16 };

/// @p bytes read as @p reading. UTF-8: invalid sequences become U+FFFD and a leading
/// byte-order mark is kept as a character. UTF-16: little-endian, an odd last byte dropped.
inline QString textFrom(std::string_view bytes, Reading reading)
{
    switch (reading) {
    case Reading::Latin1:
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    case Reading::Utf8: {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }
    case Reading::Utf16: {
        QString text;
        text.reserve(qsizetype(bytes.size() / 2));
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8))));
        return text;
    }
    }
    return QString();
}

inline constexpr Reading AllReadings[] = {Reading::Latin1, Reading::Utf8, Reading::Utf16};

/// Appends one code point. QString::fromUcs4() is not used: it reads a leading U+FEFF as a
/// byte-order mark and drops it.
inline void appendCodePoint(QString &text, char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        text.append(QChar(QChar::highSurrogate(codePoint)));
        text.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        text.append(QChar(char16_t(codePoint)));
    }
}

} // namespace pelbrook::fuzz
