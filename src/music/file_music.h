#pragma once

#include <array>
#include <string>

#include "mci_port.h"

// A music file played over and over: an MP3 through MCI under the alias "MP3Play", restarted
// by a timer once it has ended, or a WAV looped by the platform's sound player.
class FileMusic {
  public:
    explicit FileMusic(MciPort& port) : port_(port) {}

    // Opens the file (quoted, so it may hold blanks) and plays it when the open succeeded.
    void StartMp3(const std::wstring& file);
    bool IsMp3Playing();
    // Plays the file again from its beginning unless it is playing.
    void RestartMp3IfEnded();
    void StopMp3();

    // Loops the file; nothing when the machine has no wave output device.
    void StartWav(const std::wstring& file);
    void StopWav();

  private:
    MciPort& port_;
    std::array<char, 30> mp3ModeText_{};
};
