// The button's stored values: every integer written as text reads back, a text that reads as an
// integer reads the same through its decimal text and within any bounds that hold it, and a bag
// returns what was written under a key whatever the case of the key that reads it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <limits>

#include "fuzz_support.h"
#include "stored_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min(), kMax = -(kMin + 1);
    FuzzedDataProvider input(data, size);
    const auto value = input.ConsumeIntegral<std::int64_t>();
    const auto otherValue = input.ConsumeIntegral<std::int64_t>();
    FUZZ_CHECK(IntegerFrom(*TextFrom(value), kMin, kMax) == value);
    std::string key = input.ConsumeRandomLengthString(16);
    MemoryPropertyBag bag;
    WriteValue(bag, key, value, otherValue);  // a value at its default is not stored
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    FUZZ_CHECK(ReadInteger(bag, key, otherValue, kMin, kMax) == value &&
               bag.Size() == (value == otherValue ? 0u : 1u));
    const auto low = input.ConsumeIntegral<std::int64_t>();
    const auto high = input.ConsumeIntegral<std::int64_t>();
    const std::wstring text = Widened(input.ConsumeRemainingBytesAsString());
    const auto number = IntegerFrom(text, kMin, kMax);
    FUZZ_CHECK(!number || IntegerFrom(*TextFrom(*number), kMin, kMax) == number);
    FUZZ_CHECK(IntegerFrom(text, low, high) ==
                   (number && low <= *number && *number <= high ? number : std::nullopt) &&
               TextFrom(text) == text);
    return 0;
}
