#include "base/convert.h"

#include "base/error.h"

#include <QCoreApplication>

namespace zephyra {

namespace {

// Value of one ASCII digit in the given base, or -1.
int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

std::int32_t StrToInt(const QString& text)
{
    const auto invalid = [&] {
        return Error(QCoreApplication::translate("zephyra", "'%1' is not a valid integer value").arg(text));
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        throw invalid();  // nothing, only a sign, or a prefix without digits
    // The magnitude may reach one past INT32_MAX only for a negative number.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0)
            throw invalid();
        value = value * base + digit;
        if (value > limit)
            throw invalid();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace zephyra
