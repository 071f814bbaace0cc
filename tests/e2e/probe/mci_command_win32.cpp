// The probe's "mci" command: runs each step through the music module over the real winmm port
// and prints one tab-separated line per platform call and per result, in UTF-8.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "cp932.h"
#include "probe_commands_win32.h"
#include "probe_support_win32.h"
#include "torvane2_bgm.h"
#include "winmm_port_win32.h"

namespace {

std::string Utf8(std::wstring_view text) {
    return Narrow(std::wstring(text), CP_UTF8);
}

std::string Utf8FromCp932(std::string_view bytes) {
    return Utf8(FromCp932(bytes));
}

void Line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string BufferText(std::span<const char> buffer) {
    return Utf8FromCp932(std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size())));
}

// The winmm port, reporting every call it passes on.
class PrintingPort final : public MciPort {
  public:
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        const std::int32_t code = port_.SendString(command, reply);
        Line("port\tmciSendStringA\t" + Utf8FromCp932(command) + "\t" +
             std::to_string(reply.size()) + "\t" + std::to_string(code) + "\t" +
             (reply.empty() ? std::string() : BufferText(reply)));
        return code;
    }
    bool ErrorString(std::int32_t code, std::span<char> text) override {
        const bool found = port_.ErrorString(code, text);
        Line("port\tmciGetErrorStringA\t" + std::to_string(code) + "\t" + (found ? "1" : "0") +
             "\t" + (found ? BufferText(text) : std::string()));
        return found;
    }
    unsigned WaveOutDevices() override {
        const unsigned count = port_.WaveOutDevices();
        Line("port\twaveOutGetNumDevs\t" + std::to_string(count));
        return count;
    }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override {
        port_.PlaySoundFile(name, flags);
        Line("port\tPlaySoundA\t" + (name ? Utf8FromCp932(*name) : std::string("(null)")) + "\t" +
             std::to_string(flags));
    }

  private:
    WinmmPort port_;
};

void RunStep(Torvane2_BGM& music, std::wstring_view step) {
    const size_t colon = step.find(L':');
    const std::wstring_view kind = step.substr(0, colon);
    const std::wstring argument(colon == std::wstring_view::npos ? L"" : step.substr(colon + 1));
    std::wstring text;
    if (kind == L"empty" || kind == L"send") {
        const std::int32_t code = music.Layer().SendMci(argument, text);
        Line("result\tSendMci\t" + Utf8(argument) + "\t" + std::to_string(code) + "\t" +
             Utf8(text));
    } else if (kind == L"query") {
        Line("result\tMciQuery\t" + Utf8(argument) + "\t" + Utf8(music.Layer().MciQuery(argument)));
    } else if (kind == L"cd") {
        music.OpenCd(std::stoi(argument));
        for (int tick = 0; tick < 3; ++tick) {
            music.CdWatchTick();
            Line("result\tCdWatchOk\t" + std::string(music.CdWatchOk() ? "1" : "0"));
        }
        if (music.CdWatchOk()) music.StopCd();
    } else if (kind == L"mp3") {
        music.StartMp3(argument);
        music.RestartMp3IfEnded();
        music.RestartMp3IfEnded();
        music.StopMp3();
    } else if (kind == L"wav") {
        music.StartWav(argument);
        music.StopWav();
    } else {
        Line("unknown\t" + Utf8(step));
    }
}

}  // namespace

int MciCommand(const Arguments& args) {
    Torvane2_BGM music(std::make_unique<PrintingPort>());
    for (const std::wstring& step : args) {
        Line("step\t" + Utf8(step));
        const auto start = std::chrono::steady_clock::now();
        RunStep(music, step);
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        Line("done\t" + std::to_string(spent.count()));
    }
    return 0;
}
