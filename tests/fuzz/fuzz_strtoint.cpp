// The prize-count conversion, checked against a plain decimal reading:
// " *[+-]?[0-9]+" converts exactly when it fits 32 bits; a value it returns
// for any other text must read back the same in its own syntax.
#include "base/convert.h"
#include "base/error.h"

#include <QString>

#include <charconv>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    bool converted = true;
    std::int32_t value = 0;
    try {
        value = zephyra::StrToInt(text);
    } catch (const zephyra::Error& e) {
        converted = false;
        if (!e.message().contains(text))
            __builtin_trap();  // the message names what was typed
    }
    const std::string s = text.toStdString();
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos)
        i = s.size();
    std::size_t digits = i + (i < s.size() && (s[i] == '+' || s[i] == '-'));
    const bool decimal = digits < s.size()
                         && s.find_first_not_of("0123456789", digits) == std::string::npos;
    if (decimal) {
        const char* first = s.data() + i + (s[i] == '+');
        std::int32_t expected = 0;
        const auto r = std::from_chars(first, s.data() + s.size(), expected);
        const bool fits = r.ec == std::errc();
        if (converted != fits || (fits && value != expected))
            __builtin_trap();
    } else if (converted && zephyra::StrToInt(QString::number(value)) != value) {
        __builtin_trap();
    }
    return 0;
}
