#include "card/CardNumberFormatter.h"

#include <QStringList>

namespace pelbrook::CardNumberFormatter {

QString removeNonDigits(const QString &text, int &cursor)
{
    const int entry = cursor;
    QString digits;
    digits.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text.at(i).unicode();
        // A surrogate pair is one character of two code units.
        const int length = (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        if (c >= u'0' && c <= u'9')
            digits.append(QChar(c));
        else if (i < entry)
            cursor -= qMin<qsizetype>(length, entry - i);
        i += length;
    }
    return digits;
}

namespace {

enum class Pattern { FourFiveSix, FourSixFive, FourFourFourFour };

Pattern patternFor(const QString &digits)
{
    if (digits.startsWith(QLatin1Char('1')))
        return Pattern::FourFiveSix;
    static const QStringList fourSixFive = {
        QStringLiteral("34"),  QStringLiteral("37"),  QStringLiteral("300"), QStringLiteral("301"),
        QStringLiteral("302"), QStringLiteral("303"), QStringLiteral("304"), QStringLiteral("305"),
        QStringLiteral("309"), QStringLiteral("36"),  QStringLiteral("38"),  QStringLiteral("39")};
    for (const QString &prefix : fourSixFive) {
        if (digits.startsWith(prefix))
            return Pattern::FourSixFive;
    }
    return Pattern::FourFourFourFour;
}

bool spaceBefore(Pattern pattern, int index)
{
    switch (pattern) {
    case Pattern::FourSixFive: return index == 4 || index == 10 || index == 15;
    case Pattern::FourFiveSix: return index == 4 || index == 9 || index == 15;
    case Pattern::FourFourFourFour: return index > 0 && index % 4 == 0;
    }
    return false;
}

} // namespace

QString insertCreditCardSpaces(const QString &digits, int &cursor)
{
    const Pattern pattern = patternFor(digits);
    const int entry = cursor;
    QString grouped;
    grouped.reserve(digits.size() + 4);
    for (int i = 0; i < digits.size(); ++i) {
        if (spaceBefore(pattern, i)) {
            grouped.append(QLatin1Char(' '));
            // A space at the cursor itself stays after it.
            if (i < entry)
                ++cursor;
        }
        grouped.append(digits.at(i));
    }
    return grouped;
}

} // namespace pelbrook::CardNumberFormatter
