// The card number field's reformatting. The input is a run of edits as a text field makes them
// (a range of the text replaced by typed, pasted or dropped text, maybe leaving a selection),
// each followed by what the card screen does on every edit (cardViewController::
// reformatAsCardNumber): keep the digits, refuse an edit that makes more than MaximumDigits
// (the field goes back to its text and selection before the edit), group the digits and put
// the cursor back. After every edit the number the screen stores, the grouping and the cursor
// are checked against plain reference rules written here.
//
// Input layout (FuzzedDataProvider: numbers come from the end of the input, text from the
// front, each text ending at a backslash followed by any other character), for each edit:
// start and length of the range replaced, how the text is read (Latin-1, UTF-8, UTF-16), the
// text, whether a selection is left, and if so its start and length.

#include "card/CardNumberFormatter.h"
#include "fuzz/FuzzSupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QList>

#include <algorithm>
#include <climits>

using namespace pelbrook;
using namespace pelbrook::fuzz;

namespace {

// The field as the screen reads it. The screen takes the start of a selection as the cursor,
// so a plain cursor is a selection of length 0, and which end of a selection holds the cursor
// never matters.
struct Field {
    QString text;
    int selectionStart = 0;
    int selectionLength = 0;
};

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

QString referenceDigits(const QString &text)
{
    QString digits;
    for (QChar c : text) {
        // Surrogates are never digits, so looking at code units one by one is enough.
        if (isAsciiDigit(c))
            digits.append(c);
    }
    return digits;
}

int digitsBefore(const QString &text, int position)
{
    return int(referenceDigits(text.left(position)).size());
}

// Group lengths for a number: 4-5-6 for "1...", 4-6-5 for 34, 37, 300-305, 309, 36, 38, 39,
// 4-4-4-4 otherwise. After the three groups of the first two patterns the rest (at most four
// digits) is one group; fours go on for as long as the number does.
QList<int> groupLengths(const QString &digits)
{
    const auto startsWith = [&](const char *prefix) { return digits.startsWith(QLatin1String(prefix)); };
    const bool threeDigitDiners = digits.size() >= 3 && startsWith("30")
        && ((digits.at(2) >= u'0' && digits.at(2) <= u'5') || digits.at(2) == u'9');
    if (startsWith("1"))
        return {4, 5, 6, INT_MAX};
    if (startsWith("34") || startsWith("37") || threeDigitDiners || startsWith("36") || startsWith("38") || startsWith("39"))
        return {4, 6, 5, INT_MAX};
    return {4, 4, 4, 4, 4, 4};
}

QString referenceGrouping(const QString &digits)
{
    const QList<int> lengths = groupLengths(digits);
    QString grouped;
    qsizetype taken = 0;
    for (int length : lengths) {
        if (taken == digits.size())
            break;
        if (taken > 0)
            grouped.append(QLatin1Char(' '));
        const qsizetype size = qMin<qsizetype>(length, digits.size() - taken);
        grouped.append(digits.mid(taken, size));
        taken += size;
    }
    PELBROOK_FUZZ_REQUIRE(taken == digits.size(), "the reference groups cover every digit");
    return grouped;
}

bool onlyDigits(const QString &text)
{
    return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// What the card screen does after each edit, with the checks.
void reformat(Field &field, const Field &beforeEdit, QString &stored)
{
    int cursor = field.selectionStart;
    const int entry = cursor;
    const QString digits = CardNumberFormatter::removeNonDigits(field.text, cursor);
    PELBROOK_FUZZ_REQUIRE(digits == referenceDigits(field.text), "exactly the ASCII digits are kept, in order");
    PELBROOK_FUZZ_REQUIRE(cursor == digitsBefore(field.text, entry), "the cursor stays after the digits it followed");

    if (digits.size() > CardNumberFormatter::MaximumDigits) {
        field = beforeEdit;
    } else {
        stored = digits;
        const int digitsBeforeCursor = cursor;
        const QString grouped = CardNumberFormatter::insertCreditCardSpaces(digits, cursor);
        PELBROOK_FUZZ_REQUIRE(grouped == referenceGrouping(digits), "the grouping follows the number's prefix");
        PELBROOK_FUZZ_REQUIRE(cursor >= 0 && cursor <= grouped.size(), "the cursor stays within the text");
        PELBROOK_FUZZ_REQUIRE(digitsBefore(grouped, cursor) == digitsBeforeCursor, "grouping keeps the cursor after the same digits");
        PELBROOK_FUZZ_REQUIRE(cursor == 0 || grouped.at(cursor - 1) != u' ', "a space at the cursor goes after it");

        // The field now holds formatted text; formatting it again must change nothing.
        int again = cursor;
        const QString regrouped = CardNumberFormatter::insertCreditCardSpaces(CardNumberFormatter::removeNonDigits(grouped, again), again);
        PELBROOK_FUZZ_REQUIRE(regrouped == grouped && again == cursor, "formatting formatted text changes nothing");

        field = {grouped, cursor, 0};
    }
    PELBROOK_FUZZ_REQUIRE(onlyDigits(stored), "the stored number is ASCII digits only");
    PELBROOK_FUZZ_REQUIRE(stored.size() <= CardNumberFormatter::MaximumDigits, "the stored number has at most 19 digits");
    PELBROOK_FUZZ_REQUIRE(field.text == referenceGrouping(stored), "the field shows the stored number, grouped");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    Field field;
    QString stored;
    for (int edits = 0; edits < 32 && input.remaining_bytes() > 0; ++edits) {
        const Field beforeEdit = field;
        const int textSize = int(field.text.size());
        const int start = input.ConsumeIntegralInRange<int>(0, textSize);
        const int length = input.ConsumeIntegralInRange<int>(0, textSize - start);
        const Reading reading = AllReadings[input.ConsumeIntegralInRange<int>(0, 2)];
        const QString inserted = textFrom(input.ConsumeRandomLengthString(48), reading);
        field.text = field.text.left(start) + inserted + field.text.mid(start + length);
        field.selectionStart = int(start + inserted.size());
        field.selectionLength = 0;
        // Undo, redo and dropping can leave text selected.
        if (input.ConsumeBool()) {
            const int newSize = int(field.text.size());
            field.selectionStart = input.ConsumeIntegralInRange<int>(0, newSize);
            field.selectionLength = input.ConsumeIntegralInRange<int>(0, newSize - field.selectionStart);
        }
        reformat(field, beforeEdit, stored);
    }
    return 0;
}
