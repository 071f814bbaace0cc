#include "command_line.h"

#include "number_text.h"

wchar_t ModeLetter(std::wstring_view arguments) {
    if (arguments.size() < 2) return 0;
    const wchar_t letter = arguments[1];
    return (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
}

std::int32_t PreviewHandle(std::wstring_view arguments) {
    if (arguments.size() < 4) return 0;
    return RoundToInt32(LeadingNumber(arguments.substr(3))).value_or(0);
}
