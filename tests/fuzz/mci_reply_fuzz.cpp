// The music module over a port that answers every call from the input: any error code, replies of
// any bytes up to the whole buffer (with or without a NUL), an error text or none.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "cd_music.h"
#include "cp932.h"
#include "file_music.h"
#include "fuzz_support.h"

struct AnsweringPort final : MciPort {
    explicit AnsweringPort(FuzzedDataProvider& answers) : input(answers) {}
    std::int32_t SendString(const std::string&, std::span<char> buffer) override {
        ++sent;
        reply = Fill(buffer);
        return code = input.ConsumeBool() ? 0 : input.ConsumeIntegral<std::int32_t>();
    }
    bool ErrorString(std::int32_t, std::span<char> buffer) override {
        errorText = Fill(buffer);
        return input.ConsumeBool();
    }
    unsigned WaveOutDevices() override { return input.ConsumeBool(); }
    void PlaySoundFile(const std::optional<std::string>&, std::uint32_t) override {}
    std::wstring Fill(std::span<char> buffer) {  // as the buffer shows it: up to its first NUL
        const std::string bytes =
            input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0ul, buffer.size()));
        std::ranges::copy(bytes, buffer.begin());
        return FromCp932(bytes.substr(0, bytes.find('\0')));
    }
    FuzzedDataProvider& input;
    std::size_t sent = 0;
    std::int32_t code = 0;
    std::wstring reply, errorText;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    AnsweringPort port(input);
    MciLayer layer(port);
    CdMusic cd(port, layer);
    FileMusic file(port);
    while (input.remaining_bytes() > 0) {
        const std::size_t sent = port.sent;
        const std::wstring command = FromCp932(input.ConsumeRandomLengthString(40));
        std::wstring text;
        if (input.ConsumeBool()) {  // the port's code with its reply, its error text or a stand-in
            const std::int32_t code = layer.SendMci(command, text);
            FUZZ_CHECK(command.empty() ? code == kMciEmptyCommand && port.sent == sent
                                       : code == port.code && (code ? text == port.errorText ||
                                                                          text == kMciNoErrorText
                                                                    : text == port.reply));
        } else if (!command.empty()) {  // the reply, or the code after "Error:"
            text = layer.MciQuery(command);
            FUZZ_CHECK(text == (port.code ? L"Error:" + std::to_wstring(port.code) : port.reply));
        } else {  // the players live on whatever the device answers
            cd.OpenCd(input.ConsumeIntegral<std::int16_t>());
            file.StartMp3(command);
            cd.CdWatchTick();
            file.RestartMp3IfEnded();
            file.StopMp3();
            cd.StopCd();
        }
    }
    return 0;
}
