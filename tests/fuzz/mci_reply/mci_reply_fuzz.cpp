// The music module over a port that answers every call from the input: any error code, replies
// of any bytes up to the whole buffer (with or without a NUL), an error text or none.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "cd_music.h"
#include "cp932.h"
#include "file_music.h"
#include "fuzz_support.h"
#include "mci_layer.h"

namespace {

class AnsweringPort final : public MciPort {
  public:
    explicit AnsweringPort(FuzzedDataProvider& input) : input_(input) {}

    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command);
        replies.push_back(Fill(reply));
        return lastCode = input_.ConsumeBool() ? 0 : input_.ConsumeIntegral<std::int32_t>();
    }
    bool ErrorString(std::int32_t, std::span<char> text) override {
        lastErrorText = Fill(text);
        return input_.ConsumeBool();
    }
    unsigned WaveOutDevices() override { return input_.ConsumeIntegral<std::uint8_t>() % 2; }
    void PlaySoundFile(const std::optional<std::string>&, std::uint32_t) override {}

    std::vector<std::string> sent;
    std::vector<std::string> replies;  // each as its buffer shows it: up to the first NUL
    std::int32_t lastCode = 0;
    std::string lastErrorText;

  private:
    std::string Fill(std::span<char> buffer) {
        const std::string bytes = input_.ConsumeBytesAsString(
            input_.ConsumeIntegralInRange<std::size_t>(0, buffer.size()));
        std::ranges::copy(bytes, buffer.begin());
        return bytes.substr(0, bytes.find('\0'));
    }
    FuzzedDataProvider& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    AnsweringPort port(input);
    MciLayer layer(port);
    CdMusic cd(port, layer);
    FileMusic file(port);
    while (input.remaining_bytes() > 0) {
        const std::size_t before = port.sent.size();
        switch (input.ConsumeIntegralInRange(0, 5)) {
            case 0: {  // the layer: the port's code with its reply, its error text or a stand-in
                const std::wstring command = FromCp932(input.ConsumeRandomLengthString(40));
                std::wstring text;
                const std::int32_t code = layer.SendMci(command, text);
                FUZZ_CHECK(!command.empty() ||
                           (code == kMciEmptyCommand && port.sent.size() == before));
                FUZZ_CHECK(command.empty() || code != 0 ||
                           (port.lastCode == 0 && text == FromCp932(port.replies.back())));
                FUZZ_CHECK(command.empty() || code == 0 ||
                           (code == port.lastCode &&
                            (text == FromCp932(port.lastErrorText) || text == kMciNoErrorText)));
                break;
            }
            case 1: {
                const std::wstring answer = layer.MciQuery(L"status cdaudio current track");
                FUZZ_CHECK(answer == (port.lastCode == 0
                                          ? FromCp932(port.replies.back())
                                          : L"Error:" + std::to_wstring(port.lastCode)));
                break;
            }
            case 2:
                cd.OpenCd(input.ConsumeIntegral<std::int16_t>());
                break;
            case 3: {  // a watch that failed once stays off; a running one only looks and plays
                const bool watching = cd.CdWatchOk();
                cd.CdWatchTick();
                FUZZ_CHECK(watching || (!cd.CdWatchOk() && port.sent.size() == before));
                FUZZ_CHECK(std::all_of(port.sent.begin() + before, port.sent.end(), [](auto& c) {
                    return c.starts_with("status cdaudio ") || c.starts_with("play cdaudio");
                }));
                break;
            }
            case 4:  // the MP3 restarts unless its mode reply says it is playing
                file.RestartMp3IfEnded();
                FUZZ_CHECK(port.sent.size() - before ==
                           (port.replies[before].starts_with("playing") ? 1u : 3u));
                break;
            default:
                file.StartMp3(L"C:\\Music\\\u66F2.mp3");
                file.StartWav(L"C:\\Music\\loop.wav");
                file.StopWav();
                file.StopMp3();
                cd.StopCd();
        }
    }
    return 0;
}
