#include "extension_list.h"

bool HasExtension(std::string_view list, std::string_view extension) {
    while (!list.empty()) {
        const size_t end = list.find(' ');
        if (list.substr(0, end) == extension) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}
