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
    bgmRepeatTrack = repeatTrack;
    cdWatchOk = true;
    SendMciDirect(port, L"open cdaudio");
    SendMciDirect(port, L"set cdaudio time format tmsf");
}

void CdMusic::CdWatchTick() {
    if (!cdWatchOk) return;
    try {
        cdWatchOk = WatchDisc();
    } catch (...) {
        cdWatchOk = false;
    }
}

bool CdMusic::WatchDisc() {
    const std::wstring current = layer.MciQuery(L"status cdaudio current track");
    if (IsErrorAnswer(current)) return false;
    // The track count only proves that a disc is there.
    if (IsErrorAnswer(layer.MciQuery(L"status cdaudio number of tracks"))) return false;
    const bool stopped = QueryModeWord(port, L"status cdaudio mode", cdModeText) == L"stopped";

    if (bgmRepeatTrack != 0) {
        const std::optional<double> currentTrack = ParseNumber(current);
        if (!currentTrack) return false;
        if (*currentTrack != bgmRepeatTrack || stopped) {
            // The position goes back unparsed, so it is in whatever time format is in force.
            const std::wstring start =
                layer.MciQuery(L"status cdaudio position track " + std::to_wstring(bgmRepeatTrack));
            layer.MciPlay(L"cdaudio", start, L"");
        }
    } else if (stopped) {
        layer.MciPlay(L"cdaudio", L"", L"");
    }
    return true;
}

void CdMusic::StopCd() {
    SendMciDirect(port, L"stop cdaudio");
    SendMciDirect(port, L"close cdaudio");
}
