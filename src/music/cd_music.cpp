#include "cd_music.h"

#include <cwctype>
#include <optional>
#include <string>
#include <string_view>

#include "mci_direct.h"
#include "number_text.h"

namespace {

// Query answers are errors when they hold the letters ERR in any case ("Error:263").
bool IsErrorAnswer(std::wstring_view answer) {
    for (size_t i = 0; i + 3 <= answer.size(); ++i) {
        if (std::towupper(answer[i]) == L'E' && std::towupper(answer[i + 1]) == L'R' &&
            std::towupper(answer[i + 2]) == L'R') {
            return true;
        }
    }
    return false;
}

}  // namespace

void CdMusic::OpenCd(std::int16_t repeatTrack) {
    bgmRepeatTrack_ = repeatTrack;
    cdWatchOk_ = true;
    SendMciDirect(port_, L"open cdaudio");
    SendMciDirect(port_, L"set cdaudio time format tmsf");
}

void CdMusic::CdWatchTick() {
    if (!cdWatchOk_) return;
    try {
        cdWatchOk_ = WatchDisc();
    } catch (...) {
        cdWatchOk_ = false;
    }
}

bool CdMusic::WatchDisc() {
    const std::wstring current = layer_.MciQuery(L"status cdaudio current track");
    if (IsErrorAnswer(current)) return false;
    // The track count only proves that a disc is there.
    if (IsErrorAnswer(layer_.MciQuery(L"status cdaudio number of tracks"))) return false;
    const bool stopped = QueryModeWord(port_, L"status cdaudio mode", cdModeText_) == L"stopped";

    if (bgmRepeatTrack_ != 0) {
        const std::optional<double> currentTrack = ParseNumber(current);
        if (!currentTrack) return false;
        if (*currentTrack != bgmRepeatTrack_ || stopped) {
            // The position goes back unparsed, so it is in whatever time format is in force.
            const std::wstring start = layer_.MciQuery(L"status cdaudio position track " +
                                                       std::to_wstring(bgmRepeatTrack_));
            layer_.MciPlay(L"cdaudio", start, L"");
        }
    } else if (stopped) {
        layer_.MciPlay(L"cdaudio", L"", L"");
    }
    return true;
}

void CdMusic::StopCd() {
    SendMciDirect(port_, L"stop cdaudio");
    SendMciDirect(port_, L"close cdaudio");
}
