#pragma once

#include <memory>

#include "background_music.h"
#include "mci_port.h"

// The music port on winmm: mciSendStringA, mciGetErrorStringA, waveOutGetNumDevs, PlaySoundA.
class WinmmPort final : public MciPort {
  public:
    std::int32_t SendString(const std::string& command, std::span<char> reply) override;
    bool ErrorString(std::int32_t code, std::span<char> text) override;
    unsigned WaveOutDevices() override;
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override;
};

// The background music the show form drives, playing through winmm.
std::unique_ptr<BackgroundMusic> MakeWinmmBackgroundMusic();
