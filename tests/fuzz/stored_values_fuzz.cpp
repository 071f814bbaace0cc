// The button's stored values: an integer written as text reads back, and so does a text read as
// one; a bag returns what was written under a key whatever the case of the key that reads it.
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
    const std::wstring text = Widened(input.ConsumeRemainingBytesAsString());
    const auto number = IntegerFrom(text, kMin, kMax);
    FUZZ_CHECK(TextFrom(text) == text &&
               (!number || IntegerFrom(*TextFrom(*number), kMin, kMax) == number));
    return 0;
}
