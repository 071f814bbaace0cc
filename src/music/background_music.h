#pragma once

#include <string>

// What the show form asks of the background music: a music file (MP3 or WAV) played over and
// over, or the audio CD with its watch. The show form drives it from its timers.
class BackgroundMusic {
  public:
    virtual ~BackgroundMusic() = default;

    virtual void StartMp3(const std::wstring& file) = 0;
    virtual void RestartMp3IfEnded() = 0;
    virtual void StopMp3() = 0;

    virtual void StartWav(const std::wstring& file) = 0;
    virtual void StopWav() = 0;

    // `repeatTrack` 0 plays the disc on; N > 0 repeats track N.
    virtual void OpenCd(int repeatTrack) = 0;
    virtual void CdWatchTick() = 0;
    // False once a watch tick failed; the watch then stays off.
    virtual bool CdWatchOk() const = 0;
    virtual void StopCd() = 0;
};
