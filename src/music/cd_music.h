#pragma once

#include <array>
#include <cstdint>

#include "mci_layer.h"
#include "mci_port.h"

// The audio CD: opened once, then watched by a timer that starts play on an idle disc and, when
// a track is chosen, pulls play back to that track's start whenever the disc has moved on or
// stopped. The first failed look at the disc switches the watch off for the rest of the run.
class CdMusic {
  public:
    CdMusic(MciPort& port, MciLayer& layer) : port_(port), layer_(layer) {}

    // `repeatTrack` 0 plays the disc on; N > 0 repeats track N.
    void OpenCd(std::int16_t repeatTrack);
    void CdWatchTick();
    // False once a tick failed; further ticks then do nothing.
    bool CdWatchOk() const { return cdWatchOk_; }
    void StopCd();

  private:
    // One look at the disc; false when it failed.
    bool WatchDisc();

    MciPort& port_;
    MciLayer& layer_;
    std::array<char, 255> cdModeText_{};
    std::int16_t bgmRepeatTrack_ = 0;
    bool cdWatchOk_ = true;
};
