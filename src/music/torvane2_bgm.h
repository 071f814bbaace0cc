#pragma once

#include <memory>
#include <string>

#include "background_music.h"
#include "cd_music.h"
#include "file_music.h"
#include "mci_layer.h"
#include "mci_port.h"

// The host's music module over the platform port it owns: its MCI layer, the file music and the
// CD watch.
class Torvane2_BGM final : public BackgroundMusic {
  public:
    explicit Torvane2_BGM(std::unique_ptr<MciPort> platform)
        : port_(std::move(platform)), layer_(*port_), file_(*port_), cd_(*port_, layer_) {}

    void StartMp3(const std::wstring& path) override { file_.StartMp3(path); }
    void RestartMp3IfEnded() override { file_.RestartMp3IfEnded(); }
    void StopMp3() override { file_.StopMp3(); }

    void StartWav(const std::wstring& path) override { file_.StartWav(path); }
    void StopWav() override { file_.StopWav(); }

    void OpenCd(int repeatTrack) override { cd_.OpenCd(static_cast<std::int16_t>(repeatTrack)); }
    void CdWatchTick() override { cd_.CdWatchTick(); }
    bool CdWatchOk() const override { return cd_.CdWatchOk(); }
    void StopCd() override { cd_.StopCd(); }

    MciLayer& Layer() { return layer_; }

  private:
    std::unique_ptr<MciPort> port_;
    MciLayer layer_;
    FileMusic file_;
    CdMusic cd_;
};
