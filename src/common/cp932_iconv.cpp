#include <iconv.h>

#include <cerrno>

#include "cp932.h"

namespace {

// Converts with iconv, replacing each unconvertible unit of input by `replacement`.
template <typename Out, typename In>
Out Convert(const char* to, const char* from, const In& input, size_t unit,
            const Out& replacement) {
    Out output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return output;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input.data()));
    size_t inLeft = input.size() * unit;
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(reinterpret_cast<typename Out::value_type*>(buffer),
                      (sizeof buffer - outLeft) / sizeof(typename Out::value_type));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            output += replacement;
            in += unit;
            inLeft -= unit;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return output;
}

}  // namespace

std::string ToCp932(std::wstring_view text) {
    return Convert<std::string>("CP932", "WCHAR_T", text, sizeof(wchar_t), std::string("?"));
}

std::wstring FromCp932(std::string_view bytes) {
    return Convert<std::wstring>("WCHAR_T", "CP932", bytes, 1, std::wstring(L"\uFFFD"));
}
