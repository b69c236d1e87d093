#pragma once

#include <QString>

namespace pelbrook::CardNumberFormatter {

/// Card numbers longer than this are refused.
inline constexpr int MaximumDigits = 19;

/**
 * Keeps only the ASCII digits of @p text. @p cursor, a position in @p text counted in UTF-16
 * code units (as text fields count), moves left by the length of each removed character that
 * stood before it, so a character outside the Basic Multilingual Plane counts for two.
 */
QString removeNonDigits(const QString &text, int &cursor);

/**
 * Groups digits with single spaces: 4-5-6 for numbers starting with "1"; 4-6-5 for those
 * starting with 34, 37, 300-305, 309, 36, 38 or 39; 4-4-4-4 otherwise. @p cursor, a position in
 * the digits, moves right once for each space inserted before it.
 */
QString insertCreditCardSpaces(const QString &digits, int &cursor);

} // namespace pelbrook::CardNumberFormatter
