// The hand-back fragment decoder (decodeFragment, handBackResult).
//
// Round trip: text made from the input (as UTF-8, with and without a leading byte-order mark,
// and as UTF-16 when that is valid text) is percent-encoded as a gateway would encode it, with
// or without the characters a fragment may carry bare, and must decode to exactly itself, both
// directly and through a hand-back address.
//
// Arbitrary input, in every reading: decoding gives text or nothing and never crashes; text it
// gives, encoded again, decodes to itself. For input of ASCII only (all an address's fragment
// can hold) the decoder must also agree with a strict reference written here: every "%" starts
// two hex digits and the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF, no cut sequence).

#include "core/HandBack.h"
#include "fuzz/FuzzSupport.h"

#include <QUrl>

#include <algorithm>
#include <optional>

using namespace pelbrook;
using namespace pelbrook::fuzz;

namespace {

// What a fragment may hold unencoded besides letters, digits and "-._~".
const QByteArray FragmentCharacters = QByteArrayLiteral("!$&'()*+,;=:@/?");

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Well-formed UTF-8 decoded code point by code point, or nothing.
std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        int length = 0;
        char32_t codePoint = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC0 && lead < 0xE0) {
            length = 2;
            codePoint = lead & 0x1F;
            smallest = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            codePoint = lead & 0x0F;
            smallest = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            codePoint = lead & 0x07;
            smallest = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + length > bytes.size())
            return std::nullopt;
        for (int k = 1; k < length; ++k) {
            const uchar next = uchar(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return std::nullopt;
        appendCodePoint(text, codePoint);
        i += length;
    }
    return text;
}

std::optional<QString> referenceDecode(const QString &ascii)
{
    const QByteArray encoded = ascii.toLatin1();
    QByteArray bytes;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            bytes.append(encoded[i]);
            continue;
        }
        if (i + 2 >= encoded.size() || hexValue(encoded[i + 1]) < 0 || hexValue(encoded[i + 2]) < 0)
            return std::nullopt;
        bytes.append(char(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2])));
        i += 2;
    }
    return strictUtf8(bytes);
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isValidText(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return false;
    }
    return true;
}

// Percent-encodes the UTF-8 of @p text. QUrl::toPercentEncoding() is not used: its QString
// argument would take a QByteArray through fromUtf8(), which drops a leading byte-order mark.
QString encode(const QString &text, const QByteArray &bare = {})
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(bare));
}

void checkRoundTrip(const QString &text)
{
    for (const QByteArray &bare : {QByteArray(), FragmentCharacters}) {
        const QString encoded = encode(text, bare);
        PELBROOK_FUZZ_REQUIRE(decodeFragment(encoded) == text, "encoded text decodes to itself");
        const QUrl handBack(QStringLiteral("ios-sdk://r#") + encoded);
        PELBROOK_FUZZ_REQUIRE(handBackResult(handBack) == text, "a hand-back address gives back the text it carries");
    }
}

void checkArbitrary(const QString &fragment)
{
    const std::optional<QString> decoded = decodeFragment(fragment);
    if (isAscii(fragment))
        PELBROOK_FUZZ_REQUIRE(decoded == referenceDecode(fragment), "decoding is strict percent-decoding of UTF-8");
    if (decoded)
        PELBROOK_FUZZ_REQUIRE(decodeFragment(encode(*decoded)) == decoded, "decoded text encoded again decodes to itself");
    // Whatever an address makes of the text, reading its fragment must not crash.
    (void)handBackResult(QUrl(QStringLiteral("ios-sdk://r#") + fragment));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const QString utf8 = textFrom(bytes, Reading::Utf8);
    checkRoundTrip(utf8);
    checkRoundTrip(QChar(0xFEFF) + utf8);
    const QString utf16 = textFrom(bytes, Reading::Utf16);
    if (isValidText(utf16))
        checkRoundTrip(utf16);
    for (Reading reading : AllReadings)
        checkArbitrary(textFrom(bytes, reading));
    return 0;
}
