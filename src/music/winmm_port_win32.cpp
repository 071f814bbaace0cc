#include "winmm_port_win32.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include "torvane2_bgm.h"

static_assert(kSoundAsync == SND_ASYNC && kSoundLoop == SND_LOOP);

std::int32_t WinmmPort::SendString(const std::string& command, std::span<char> reply) {
    const MCIERROR code = mciSendStringA(command.c_str(), reply.empty() ? nullptr : reply.data(),
                                         static_cast<UINT>(reply.size()), nullptr);
    return static_cast<std::int32_t>(code);
}

bool WinmmPort::ErrorString(std::int32_t code, std::span<char> text) {
    return mciGetErrorStringA(static_cast<MCIERROR>(code), text.data(),
                              static_cast<UINT>(text.size())) != FALSE;
}

unsigned WinmmPort::WaveOutDevices() {
    return waveOutGetNumDevs();
}

void WinmmPort::PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) {
    PlaySoundA(name ? name->c_str() : nullptr, nullptr, flags);
}

std::unique_ptr<BackgroundMusic> MakeWinmmBackgroundMusic() {
    return std::make_unique<Torvane2_BGM>(std::make_unique<WinmmPort>());
}
