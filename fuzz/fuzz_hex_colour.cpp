// The hex colour reader, Color(const QString &). Each input is read as Latin-1, UTF-8 and
// UTF-16 text, and every reading is compared with a plain reference of the rules the header
// gives: skip leading white space and line breaks, an optional "0x"/"0X", the longest run of
// hex digits (64 bits set when the number does not fit), the low 24 bits as RRGGBB, each byte
// over 255, opaque; no digits read gives black.

#include "fuzz/FuzzSupport.h"
#include "theme/Color.h"

#include <cstdint>

using namespace pelbrook;
using namespace pelbrook::fuzz;

namespace {

// White space and line breaks: the characters with Unicode's White_Space property, all of them
// in the Basic Multilingual Plane.
bool isWhiteSpaceOrLineBreak(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

uint64_t referenceValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isWhiteSpaceOrLineBreak(text.at(i).unicode()))
        ++i;
    if (i + 1 < text.size() && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X'))
        i += 2;
    // The number itself, without its leading zeros, decides whether it fits in 64 bits.
    uint64_t value = 0;
    int significantDigits = 0;
    for (; i < text.size() && hexValue(text.at(i).unicode()) >= 0; ++i) {
        const int digit = hexValue(text.at(i).unicode());
        if (significantDigits == 0 && digit == 0)
            continue;
        ++significantDigits;
        value = value * 16 + uint64_t(digit);
    }
    return significantDigits > 16 ? UINT64_MAX : value;
}

void check(const QString &text)
{
    const uint64_t value = referenceValue(text);
    const Color colour(text);
    PELBROOK_FUZZ_REQUIRE(colour.red == double((value >> 16) & 0xFF) / 255.0, "red is the third byte from the end over 255");
    PELBROOK_FUZZ_REQUIRE(colour.green == double((value >> 8) & 0xFF) / 255.0, "green is the second byte from the end over 255");
    PELBROOK_FUZZ_REQUIRE(colour.blue == double(value & 0xFF) / 255.0, "blue is the last byte over 255");
    PELBROOK_FUZZ_REQUIRE(colour.alpha == 1.0, "a colour from text is opaque");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (Reading reading : AllReadings)
        check(textFrom(bytes, reading));
    return 0;
}
