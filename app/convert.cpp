#include "app/convert.h"

#include "app/services.h"

namespace zephyra {

std::int32_t StrToInt(const QString& text)
{
    const auto invalid = [&] {
        return Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == n)
        throw invalid();
    // Accumulated as a magnitude in 64 bits; the limit is one past INT32_MAX
    // for a negative number.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int digit = QChar(text[i]).isDigit() && text[i].unicode() < 128
                              ? text[i].unicode() - '0'
                              : (base == 16 && QStringLiteral("abcdefABCDEF").contains(text[i])
                                     ? text[i].toLower().unicode() - 'a' + 10
                                     : -1);
        if (digit < 0 || digit >= base)
            throw invalid();
        value = value * base + digit;
        if (value > limit)
            throw invalid();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace zephyra
