#include "show_mode.h"

#include "host_paths.h"

namespace {

enum class MusicFileType { Wav, Mp3, Other };

// The file type is the last three characters of the name, without regard to ASCII case.
MusicFileType MusicFileTypeOf(const std::wstring& file) {
    if (file.size() < 3) return MusicFileType::Other;
    std::wstring type = file.substr(file.size() - 3);
    for (wchar_t& c : type) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    if (type == L"WAV") return MusicFileType::Wav;
    if (type == L"MP3") return MusicFileType::Mp3;
    return MusicFileType::Other;
}

constexpr std::int16_t kCdSource = 1;
constexpr std::int16_t kFileSource = 2;

}  // namespace

void ShowMode::Load(const std::wstring& programFolder) {
    platform_.StartRenderer(RendererPath(programFolder));
    if (settings_.BgmKind == kCdSource) {
        music_.OpenCd(settings_.BgmRepeatTrack);
        timer2Enabled_ = true;
    }
    if (settings_.BgmKind == kFileSource) {
        switch (MusicFileTypeOf(settings_.BgmFile)) {
            case MusicFileType::Wav:
                music_.StartWav(settings_.BgmFile);
                break;
            case MusicFileType::Mp3:
                music_.StartMp3(settings_.BgmFile);
                timer1Enabled_ = true;
                break;
            case MusicFileType::Other:
                break;
        }
    }
}

void ShowMode::Timer1Tick() {
    music_.RestartMp3IfEnded();
}

void ShowMode::Timer2Tick() {
    music_.CdWatchTick();
    timer2Enabled_ = music_.CdWatchOk();
}

bool ShowMode::Timer3Tick() {
    // The renderer counts as gone once its process has ended or its window, once seen, has
    // closed. A renderer still starting gets a bounded grace to open its window.
    if (platform_.RendererWindowExists()) {
        rendererSeen_ = true;
        return false;
    }
    const bool gone =
        rendererSeen_ || platform_.RendererEnded() || ++ticksWithoutWindow_ > kStartGraceTicks;
    if (gone) timer3Enabled_ = false;
    return gone;
}

void ShowMode::QueryUnload() {
    if (timer2Enabled_) {
        timer2Enabled_ = false;
        music_.StopCd();
    }
    if (settings_.BgmKind == kFileSource) {
        switch (MusicFileTypeOf(settings_.BgmFile)) {
            case MusicFileType::Wav:
                music_.StopWav();
                break;
            case MusicFileType::Mp3:
                music_.StopMp3();
                break;
            case MusicFileType::Other:
                break;
        }
    }
    RestoreCursor();
}

void ShowMode::RestoreCursor() {
    // The cursor was hidden once for /s; show it once. (Passing the display count as the flag
    // would hide it further whenever the hide had returned 0.)
    if (modeLetter_ == L'S') settings_.CursorCount = platform_.ShowCursor(true);
}
