#pragma once

#include <QString>

#include <cstdint>

namespace zephyra {

// Reads a signed 32-bit whole number: leading spaces, at most one sign, then
// decimal digits, or hexadecimal digits after "$", "x" or "0x"; nothing may
// follow. Anything else raises "'<text>' is not a valid integer value".
std::int32_t StrToInt(const QString& text);

}  // namespace zephyra
