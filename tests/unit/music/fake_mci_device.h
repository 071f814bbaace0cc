#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "mci_port.h"

// MCI error codes, as the platform numbers them.
inline constexpr std::int32_t kMciErrUnrecognizedCommand = 261;
inline constexpr std::int32_t kMciErrInvalidDeviceName = 263;
inline constexpr std::int32_t kMciErrDeviceOpen = 265;
inline constexpr std::int32_t kMciErrCannotLoadDriver = 266;
inline constexpr std::int32_t kMciErrParamOverflow = 268;
inline constexpr std::int32_t kMciErrBadInteger = 270;
inline constexpr std::int32_t kMciErrFileNotFound = 275;
inline constexpr std::int32_t kMciErrDeviceNotReady = 276;
inline constexpr std::int32_t kMciErrOutOfRange = 282;
inline constexpr std::int32_t kMciErrDuplicateAlias = 289;
inline constexpr std::int32_t kMciErrBadConstant = 290;

enum class PlayMode { Playing, Stopped, Paused };

// One command string as the device received it, with the size of the reply buffer it came with
// (0: no reply wanted).
struct SentCommand {
    std::string command;
    size_t replySize;
    bool operator==(const SentCommand&) const = default;
};

struct SoundCall {
    std::optional<std::string> name;
    std::uint32_t flags;
    bool operator==(const SoundCall&) const = default;
};

// A scripted stand-in for the platform's media services: a CD drive ("cdaudio", tracks of four
// minutes each) and MP3 files of given lengths opened under an alias, answering MCI command
// strings the way the platform does, plus the wave devices and the sound player. It records
// everything it receives. Commands and replies are code page 932 bytes; keywords are matched
// without regard to case.
class FakeMciDevice final : public MciPort {
  public:
    std::int32_t SendString(const std::string& command, std::span<char> reply) override;
    bool ErrorString(std::int32_t code, std::span<char> text) override;
    unsigned WaveOutDevices() override { return waveOutDevices; }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override;

    // --- The CD drive ---
    bool drivePresent = true;
    bool discPresent = true;
    int trackCount = 12;
    int currentTrack = 1;
    PlayMode cdMode = PlayMode::Stopped;
    bool cdOpen = false;
    bool cdTimeFormatTmsf = false;
    // When set, the drive answers the current-track query with this instead of a number.
    std::optional<std::string> oddCurrentTrackReply;

    void EjectDisc();
    // Play reaches the next track, or stops after the last one.
    void NextTrackBegins();
    // Another program plays a track on the shared drive.
    void PlayElsewhere(int track);

    // --- MP3 files and the open alias ---
    std::map<std::string, int> fileLengths;  // path bytes -> length in milliseconds
    std::optional<std::string> openAlias;
    std::string openFile;
    PlayMode mp3Mode = PlayMode::Stopped;
    int mp3Position = 0;
    // Lets time pass; a playing file stops when it reaches its end.
    void Advance(int milliseconds);

    // --- Sounds and error texts ---
    unsigned waveOutDevices = 1;
    std::vector<SoundCall> sounds;
    bool errorTextsKnown = true;

    std::vector<SentCommand> received;
    std::vector<std::int32_t> answered;

    // The commands received since the last call.
    std::vector<SentCommand> TakeReceived();

  private:
    std::int32_t Answer(const std::vector<std::string>& words, std::string& reply);
    std::int32_t AnswerCd(const std::vector<std::string>& words, std::string& reply);
    std::int32_t AnswerMp3(const std::vector<std::string>& words, std::string& reply);
    std::int32_t OpenFile(const std::vector<std::string>& words);
    std::string Position(int track) const;
    std::optional<int> TrackAt(const std::string& position) const;

    size_t taken = 0;
};

// How the tests note the commands they expect: direct ones carry no reply buffer, the layer's
// carry 512 characters, the mode queries their own buffer size.
inline SentCommand Direct(std::string command) {
    return {std::move(command), 0};
}
inline SentCommand Layer(std::string command) {
    return {std::move(command), 512};
}
inline SentCommand CdMode() {
    return {"status cdaudio mode", 255};
}
inline SentCommand Mp3Mode() {
    return {"status MP3Play mode", 30};
}
