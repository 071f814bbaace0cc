#include "show_music.h"

// Used only while the build has no music library: a show without sound.
namespace {

class NoMusic final : public BackgroundMusic {
  public:
    void StartMp3(const std::wstring&) override {}
    void RestartMp3IfEnded() override {}
    void StopMp3() override {}
    void StartWav(const std::wstring&) override {}
    void StopWav() override {}
    void OpenCd(int) override {}
    void CdWatchTick() override {}
    bool CdWatchOk() const override { return false; }
    void StopCd() override {}
};

}  // namespace

std::unique_ptr<BackgroundMusic> MakeBackgroundMusic() {
    return std::make_unique<NoMusic>();
}
