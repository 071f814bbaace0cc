#include "fake_mci_device.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <span>

#include "cp932.h"

namespace {

// Splits a command into blank-separated words; a double-quoted part is one word without quotes.
std::vector<std::string> Words(const std::string& command) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < command.size()) {
        if (command[i] == ' ') {
            ++i;
        } else if (command[i] == '"') {
            const size_t close = command.find('"', i + 1);
            const size_t end = close == std::string::npos ? command.size() : close;
            words.push_back(command.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const size_t end = std::min(command.find(' ', i), command.size());
            words.push_back(command.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

bool Same(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Whether `words`, from index `from` on, are `expected` followed by `trailing` more words.
bool WordsAre(const std::vector<std::string>& words, size_t from,
              std::initializer_list<const char*> expected, size_t trailing = 0) {
    if (words.size() != from + expected.size() + trailing) return false;
    return std::ranges::equal(expected, std::span(words).subspan(from, expected.size()),
                              [](const char* e, const std::string& w) { return Same(e, w); });
}

std::optional<int> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 || !std::ranges::all_of(text, ::isdigit)) return {};
    return std::stoi(text);
}

const char* ModeWord(PlayMode mode) {
    switch (mode) {
        case PlayMode::Playing:
            return "playing";
        case PlayMode::Paused:
            return "paused";
        case PlayMode::Stopped:
            break;
    }
    return "stopped";
}

constexpr int kTrackSeconds = 240;
constexpr int kLeadInSeconds = 2;

}  // namespace

std::int32_t FakeMciDevice::SendString(const std::string& command, std::span<char> reply) {
    received.push_back({command, reply.size()});
    std::string answer;
    std::int32_t code = Answer(Words(command), answer);
    // Like the platform, the reply buffer is written only with a reply; the layer must not
    // count on it being cleared.
    if (code == 0 && !reply.empty() && !answer.empty()) {
        if (answer.size() + 1 > reply.size()) {
            code = kMciErrParamOverflow;
        } else {
            std::ranges::copy(answer, reply.begin());
            reply[answer.size()] = '\0';
        }
    }
    answered.push_back(code);
    return code;
}

bool FakeMciDevice::ErrorString(std::int32_t code, std::span<char> text) {
    static const std::map<std::int32_t, std::wstring> kTexts = {
        {kMciErrInvalidDeviceName,
         L"The specified device is not open or is not recognized by MCI."},
        {kMciErrDeviceNotReady, L"The device is not ready."},
        {kMciErrOutOfRange, L"The specified parameter is out of range for the specified command."},
        {kMciErrFileNotFound, L"指定されたファイルが見つかりません。"},
    };
    const auto found = kTexts.find(code);
    if (!errorTextsKnown || found == kTexts.end() || text.empty()) return false;
    const std::string bytes = ToCp932(found->second).substr(0, text.size() - 1);
    std::ranges::copy(bytes, text.begin());
    text[bytes.size()] = '\0';
    return true;
}

void FakeMciDevice::PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) {
    sounds.push_back({name, flags});
}

void FakeMciDevice::EjectDisc() {
    discPresent = false;
    cdMode = PlayMode::Stopped;
}

void FakeMciDevice::NextTrackBegins() {
    if (currentTrack < trackCount) {
        ++currentTrack;
    } else {
        cdMode = PlayMode::Stopped;
    }
}

void FakeMciDevice::PlayElsewhere(int track) {
    currentTrack = track;
    cdMode = PlayMode::Playing;
}

void FakeMciDevice::Advance(int milliseconds) {
    if (!openAlias || mp3Mode != PlayMode::Playing) return;
    const int length = fileLengths.at(openFile);
    mp3Position = std::min(mp3Position + milliseconds, length);
    if (mp3Position == length) mp3Mode = PlayMode::Stopped;
}

std::vector<SentCommand> FakeMciDevice::TakeReceived() {
    std::vector<SentCommand> recent(received.begin() + static_cast<std::ptrdiff_t>(taken),
                                    received.end());
    taken = received.size();
    return recent;
}

std::int32_t FakeMciDevice::Answer(const std::vector<std::string>& words, std::string& reply) {
    if (words.size() < 2) return kMciErrUnrecognizedCommand;
    if (Same(words[0], "open")) {
        if (!Same(words[1], "cdaudio")) return OpenFile(words);
        if (words.size() != 2) return kMciErrUnrecognizedCommand;
        if (!drivePresent) return kMciErrCannotLoadDriver;
        if (cdOpen) return kMciErrDeviceOpen;
        cdOpen = true;
        return 0;
    }
    if (Same(words[1], "cdaudio") && cdOpen) return AnswerCd(words, reply);
    if (openAlias && Same(words[1], *openAlias)) return AnswerMp3(words, reply);
    return kMciErrInvalidDeviceName;
}

std::int32_t FakeMciDevice::OpenFile(const std::vector<std::string>& words) {
    if (!WordsAre(words, 2, {"type", "MPEGVideo", "alias"}, 1)) {
        return kMciErrUnrecognizedCommand;
    }
    if (openAlias && Same(*openAlias, words[5])) return kMciErrDuplicateAlias;
    if (!fileLengths.contains(words[1])) return kMciErrFileNotFound;
    openAlias = words[5];
    openFile = words[1];
    mp3Mode = PlayMode::Stopped;
    mp3Position = 0;
    return 0;
}

std::int32_t FakeMciDevice::AnswerCd(const std::vector<std::string>& words, std::string& reply) {
    const std::string& verb = words[0];
    if (Same(verb, "set")) {
        if (!WordsAre(words, 2, {"time", "format"}, 1)) {
            return kMciErrUnrecognizedCommand;
        }
        if (!Same(words[4], "tmsf") && !Same(words[4], "msf")) return kMciErrBadConstant;
        cdTimeFormatTmsf = Same(words[4], "tmsf");
        return 0;
    }
    if (Same(verb, "close")) {
        cdOpen = false;
        return 0;
    }
    if (Same(verb, "status") && WordsAre(words, 2, {"mode"})) {
        reply = discPresent ? ModeWord(cdMode) : "open";
        return 0;
    }
    if (!discPresent) return kMciErrDeviceNotReady;
    if (Same(verb, "status")) {
        if (WordsAre(words, 2, {"current", "track"})) {
            reply = oddCurrentTrackReply.value_or(std::to_string(currentTrack));
        } else if (WordsAre(words, 2, {"number", "of", "tracks"})) {
            reply = std::to_string(trackCount);
        } else if (WordsAre(words, 2, {"position", "track"}, 1)) {
            const std::optional<int> track = WholeNumber(words[4]);
            if (!track) return kMciErrBadInteger;
            if (*track < 1 || *track > trackCount) return kMciErrOutOfRange;
            reply = Position(*track);
        } else {
            return kMciErrUnrecognizedCommand;
        }
        return 0;
    }
    if (Same(verb, "play")) {
        std::optional<int> start;
        for (size_t i = 2; i < words.size(); i += 2) {
            if (i + 1 >= words.size()) return kMciErrUnrecognizedCommand;
            const std::optional<int> track = TrackAt(words[i + 1]);
            if (!track) return kMciErrBadInteger;
            if (*track < 1 || *track > trackCount) return kMciErrOutOfRange;
            if (Same(words[i], "from")) {
                start = track;
            } else if (!Same(words[i], "to")) {
                return kMciErrUnrecognizedCommand;
            }
        }
        if (start) currentTrack = *start;
        cdMode = PlayMode::Playing;
        return 0;
    }
    if (Same(verb, "stop") || Same(verb, "pause")) {
        if (words.size() != 2) return kMciErrUnrecognizedCommand;
        cdMode = Same(verb, "stop") ? PlayMode::Stopped : PlayMode::Paused;
        return 0;
    }
    return kMciErrUnrecognizedCommand;
}

std::int32_t FakeMciDevice::AnswerMp3(const std::vector<std::string>& words, std::string& reply) {
    const std::string& verb = words[0];
    if (Same(verb, "status") && WordsAre(words, 2, {"mode"})) {
        reply = ModeWord(mp3Mode);
        return 0;
    }
    if (Same(verb, "play")) {
        if (WordsAre(words, 2, {"from", "0"})) {
            mp3Position = 0;
        } else if (words.size() != 2) {
            return kMciErrUnrecognizedCommand;
        }
        // Played from its end, a file stops again at once.
        if (mp3Position < fileLengths.at(openFile)) mp3Mode = PlayMode::Playing;
        return 0;
    }
    if (words.size() != 2) return kMciErrUnrecognizedCommand;
    if (Same(verb, "stop")) {
        mp3Mode = PlayMode::Stopped;
    } else if (Same(verb, "pause")) {
        mp3Mode = PlayMode::Paused;
    } else if (Same(verb, "close")) {
        openAlias.reset();
        mp3Mode = PlayMode::Stopped;
    } else {
        return kMciErrUnrecognizedCommand;
    }
    return 0;
}

// A track's start in the time format in force: tracks:minutes:seconds:frames, or the disc's
// minutes:seconds:frames.
std::string FakeMciDevice::Position(int track) const {
    char text[32];
    if (cdTimeFormatTmsf) {
        std::snprintf(text, sizeof text, "%02d:00:00:00", track);
    } else {
        const int seconds = kLeadInSeconds + (track - 1) * kTrackSeconds;
        std::snprintf(text, sizeof text, "%02d:%02d:00", seconds / 60, seconds % 60);
    }
    return text;
}

std::optional<int> FakeMciDevice::TrackAt(const std::string& position) const {
    std::vector<int> fields;
    size_t start = 0;
    while (start <= position.size()) {
        const size_t end = std::min(position.find(':', start), position.size());
        const std::optional<int> field = WholeNumber(position.substr(start, end - start));
        if (!field) return std::nullopt;
        fields.push_back(*field);
        start = end + 1;
    }
    if (cdTimeFormatTmsf) return fields.front();
    const int seconds = fields.front() * 60 + (fields.size() > 1 ? fields[1] : 0);
    return (seconds - kLeadInSeconds) / kTrackSeconds + 1;
}
