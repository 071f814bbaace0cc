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
        : port(std::move(platform)), layer(*port), file(*port), cd(*port, layer) {}

    void StartMp3(const std::wstring& path) override { file.StartMp3(path); }
    void RestartMp3IfEnded() override { file.RestartMp3IfEnded(); }
    void StopMp3() override { file.StopMp3(); }

    void StartWav(const std::wstring& path) override { file.StartWav(path); }
    void StopWav() override { file.StopWav(); }

    void OpenCd(int repeatTrack) override { cd.OpenCd(static_cast<std::int16_t>(repeatTrack)); }
    void CdWatchTick() override { cd.CdWatchTick(); }
    bool CdWatchOk() const override { return cd.CdWatchOk(); }
    void StopCd() override { cd.StopCd(); }

    MciLayer& Layer() { return layer; }

  private:
    std::unique_ptr<MciPort> port;
    MciLayer layer;
    FileMusic file;
    CdMusic cd;
};
