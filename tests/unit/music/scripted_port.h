#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "mci_port.h"
#include "torvane2_bgm.h"

// One command string as the port received it, with the size of the reply buffer it came with
// (0: no reply wanted).
struct Sent {
    std::string command;
    size_t replySize;
    bool operator==(const Sent&) const = default;
};

// The port's answer to a command: its code, the reply it writes (none when empty), or a throw.
struct Answer {
    std::int32_t code = 0;
    std::string reply;
    bool throws = false;
};
inline Answer Replies(std::string reply) {
    return {0, std::move(reply), false};
}
inline Answer Fails(std::int32_t code) {
    return {code, "", false};
}
inline Answer Throws() {
    return {0, "", true};
}

// The platform's media services as a script: each command is answered from `answers` (one not
// listed succeeds without a reply) and every call is recorded. Texts are code page 932 bytes.
class ScriptedPort final : public MciPort {
  public:
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back({command, reply.size()});
        const Answer answer = answers.contains(command) ? answers[command] : Answer{};
        if (answer.throws) throw std::runtime_error("the platform failed");
        if (!answer.reply.empty() && answer.reply.size() < reply.size()) {
            std::ranges::copy(answer.reply, reply.begin());
            reply[answer.reply.size()] = '\0';
        }
        return answer.code;
    }
    bool ErrorString(std::int32_t code, std::span<char> text) override {
        if (!errorTexts.contains(code)) return false;
        std::ranges::copy(errorTexts[code], text.begin());
        text[errorTexts[code].size()] = '\0';
        return true;
    }
    unsigned WaveOutDevices() override { return waveOutDevices; }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override {
        sounds.emplace_back(name, flags);
    }

    // The commands sent since the last call.
    std::vector<Sent> Take() { return std::exchange(sent, {}); }

    std::map<std::string, Answer> answers;
    std::map<std::int32_t, std::string> errorTexts;
    unsigned waveOutDevices = 1;
    std::vector<Sent> sent;
    std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
};

// The music module over a scripted port.
class MusicTest : public ::testing::Test {
  protected:
    std::unique_ptr<ScriptedPort> owned = std::make_unique<ScriptedPort>();
    ScriptedPort& port = *owned;
    Torvane2_BGM music{std::move(owned)};
};
