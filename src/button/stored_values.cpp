#include "stored_values.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <limits>

namespace {

char LowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
    });
}

std::optional<std::int64_t> IntegerFromText(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (EqualIgnoringCase(text, L"True")) return -1;
    if (EqualIgnoringCase(text, L"False")) return 0;
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // The magnitude is gathered unsigned, so that the most negative value fits as well.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    std::uint64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

}  // namespace

bool MemoryPropertyBag::CaseInsensitiveLess::operator()(std::string_view a,
                                                        std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerAscii(x) < LowerAscii(y);
    });
}

std::optional<PropertyValue> MemoryPropertyBag::Read(std::string_view key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void MemoryPropertyBag::Write(std::string_view key, const std::optional<PropertyValue>& value) {
    const auto found = values_.find(key);
    if (found != values_.end()) values_.erase(found);
    if (value) values_.emplace(std::string(key), *value);
}

std::optional<std::int64_t> IntegerFrom(const PropertyValue& value, std::int64_t minimum,
                                        std::int64_t maximum) {
    std::optional<std::int64_t> number;
    if (const auto* integer = std::get_if<std::int64_t>(&value)) number = *integer;
    if (const auto* text = std::get_if<std::wstring>(&value)) number = IntegerFromText(*text);
    if (!number || *number < minimum || *number > maximum) return std::nullopt;
    return number;
}

std::optional<std::wstring> TextFrom(const PropertyValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
    if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_wstring(*integer);
    return std::nullopt;
}

std::optional<std::int64_t> ReadInteger(const PropertyBag& bag, std::string_view key,
                                        std::int64_t readDefault, std::int64_t minimum,
                                        std::int64_t maximum) {
    const auto value = bag.Read(key);
    if (!value) return readDefault;
    return IntegerFrom(*value, minimum, maximum);
}

std::optional<std::wstring> ReadText(const PropertyBag& bag, std::string_view key,
                                     const std::wstring& readDefault) {
    const auto value = bag.Read(key);
    if (!value) return readDefault;
    return TextFrom(*value);
}

std::optional<CaptionFont> ReadFont(const PropertyBag& bag, std::string_view key,
                                    const CaptionFont& readDefault) {
    const auto value = bag.Read(key);
    if (!value) return readDefault;
    if (const auto* font = std::get_if<CaptionFont>(&*value)) return *font;
    return std::nullopt;
}

void WriteValue(PropertyBag& bag, std::string_view key, const PropertyValue& value,
                const PropertyValue& writeDefault) {
    if (value == writeDefault) {
        bag.Write(key, std::nullopt);
    } else {
        bag.Write(key, value);
    }
}
