#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The platform's media services as the music module needs them: MCI command strings, their
// error texts, the wave output devices and the simple sound player. Every text crossing this
// port is code page 932 bytes.
class MciPort {
  public:
    virtual ~MciPort() = default;

    // Sends one MCI command string. A reply, NUL-terminated, is written into `reply`; an empty
    // span asks for none. Returns the MCI error code, 0 on success.
    virtual std::int32_t SendString(const std::string& command, std::span<char> reply) = 0;
    // Writes the platform's NUL-terminated description of an MCI error code into `text`;
    // false when it has none.
    virtual bool ErrorString(std::int32_t code, std::span<char> text) = 0;
    virtual unsigned WaveOutDevices() = 0;
    // Hands a sound file to the platform's sound player; no name (with no flags) silences every
    // sound this process plays.
    virtual void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) = 0;
};

// Sound player flags: return at once, and repeat the sound until it is stopped.
inline constexpr std::uint32_t kSoundAsync = 0x0001;
inline constexpr std::uint32_t kSoundLoop = 0x0008;
