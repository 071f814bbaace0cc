#include "ini_text.h"

#include <vector>

namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr size_t kReplyBytes = 255;

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Blanks as the profile routines see them; carriage return and ^Z included.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1A' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Compares two names ignoring ASCII case; both bytes of a double-byte character must match
// exactly, since its trail byte may look like a letter.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

struct Line {
    std::string_view text;    // without its line end
    std::string_view ending;  // "\r\n", "\n" or empty at the end of the file
};

std::vector<Line> SplitLines(std::string_view file) {
    std::vector<Line> lines;
    while (!file.empty()) {
        const size_t end = file.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back({file, {}});
            break;
        }
        const size_t textEnd = (end > 0 && file[end - 1] == '\r') ? end - 1 : end;
        lines.push_back({file.substr(0, textEnd), file.substr(textEnd, end + 1 - textEnd)});
        file.remove_prefix(end + 1);
    }
    return lines;
}

// The name of a section line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const size_t close = text.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return text.substr(1, close - 1);
}

struct Entry {
    std::string_view name;
    std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a key lives in the file: the line of the key, or the last non-blank line of its section.
struct Place {
    std::optional<size_t> keyLine;
    std::optional<size_t> sectionEnd;
};

Place Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    bool inSection = false;
    bool inFirstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            inSection = SameName(*name, section);
            inFirstSection = inSection && !place.sectionEnd;
            if (inFirstSection) place.sectionEnd = i;
            continue;
        }
        if (!inSection) continue;
        const auto entry = EntryOf(lines[i].text);
        if (entry && SameName(entry->name, key)) {
            place.keyLine = i;
            return place;
        }
        if (inFirstSection && !Trimmed(lines[i].text).empty()) place.sectionEnd = i;
    }
    return place;
}

std::string Joined(const std::vector<Line>& lines, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) {
        text += lines[i].text;
        text += lines[i].ending;
    }
    return text;
}

}  // namespace

std::optional<std::string> IniValue(std::string_view file, std::string_view section,
                                    std::string_view key) {
    const std::vector<Line> lines = SplitLines(file);
    const Place place = Find(lines, section, key);
    if (!place.keyLine) return std::nullopt;
    return std::string(WithoutQuotes(EntryOf(lines[*place.keyLine].text)->value));
}

std::string WithIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = SplitLines(file);
    const Place place = Find(lines, section, key);
    if (place.keyLine) {
        // The key keeps the spelling it already has in the file.
        const size_t at = *place.keyLine;
        std::string text = Joined(lines, 0, at);
        text += EntryOf(lines[at].text)->name;
        text += '=';
        text += value;
        text += lines[at].ending.empty() ? kNewLine : lines[at].ending;
        return text + Joined(lines, at + 1, lines.size());
    }
    const size_t insertAfter = place.sectionEnd ? *place.sectionEnd + 1 : lines.size();
    std::string text = Joined(lines, 0, insertAfter);
    if (!text.empty() && text.back() != '\n') text += kNewLine;
    if (!place.sectionEnd) {
        text += '[';
        text += section;
        text += ']';
        text += kNewLine;
    }
    text += key;
    text += '=';
    text += value;
    text += kNewLine;
    return text + Joined(lines, insertAfter, lines.size());
}

std::string CutToReplyBuffer(std::string value) {
    if (value.size() <= kReplyBytes) return value;
    size_t end = 0;
    while (end < kReplyBytes) {
        const size_t width = IsLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
        if (end + width > kReplyBytes) break;
        end += width;
    }
    value.resize(end);
    return value;
}
