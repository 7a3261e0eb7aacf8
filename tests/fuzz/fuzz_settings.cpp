// The settings file's reader and its save: any text reads without harm, each
// left-out item is a piece of one line, every value read is one the table
// takes, and a save of what was read reads back the same.
#include "settings/settingsfile.h"

#include <cstddef>
#include <cstdint>

namespace {

bool sameValues(const zephyra::SavedSettings& a, const zephyra::SavedSettings& b)
{
    for (const zephyra::SavedKey& row : zephyra::savedKeys())
        if (row.get(a) != row.get(b))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    zephyra::SavedSettings read;
    const QStringList leftOut = zephyra::readSettingsText(text, read);
    if (zephyra::leftOutLine(QStringLiteral("f"), leftOut).contains(QLatin1Char('\n')))
        __builtin_trap();
    for (const zephyra::SavedKey& row : zephyra::savedKeys())
        if (zephyra::savedValue(row, zephyra::savedText(row, row.get(read))) != row.get(read))
            __builtin_trap();

    const QByteArray saved = zephyra::updatedSettingsText(
        text, read, {zephyra::kChoicesSection, zephyra::kOptionsSection});
    zephyra::SavedSettings back;
    zephyra::readSettingsText(saved, back);
    if (!sameValues(read, back))
        __builtin_trap();
    return 0;
}
