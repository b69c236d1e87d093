#pragma once

#include <QChar>

namespace pelbrook {

/// The value of one hexadecimal digit, either case, or -1 for any other character.
inline int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace pelbrook
