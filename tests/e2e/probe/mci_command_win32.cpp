// The probe's "mci" command: runs each step through the music module over the real winmm port
// and prints each result, tab-separated in UTF-8: the step, "result" or "done", the findings.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "probe_win32.h"
#include "torvane2_bgm.h"
#include "winmm_port_win32.h"

int MciCommand(const Arguments& args) {
    Torvane2_BGM music(std::make_unique<WinmmPort>());
    for (const std::wstring& step : args) {
        const auto line = [&](const std::string& kind, const std::wstring& findings) {
            std::printf("%s\t%s\t%s\n", Narrow(step, CP_UTF8).c_str(), kind.c_str(),
                        Narrow(findings, CP_UTF8).c_str());
            std::fflush(stdout);
        };
        const DWORD start = GetTickCount();
        const std::wstring kind = step.substr(0, step.find(L':'));
        const std::wstring argument = step.substr(std::min(kind.size() + 1, step.size()));
        std::wstring text;
        if (kind == L"send") {
            const std::int32_t code = music.Layer().SendMci(argument, text);
            line("result", std::to_wstring(code) + L"\t" + text);
        } else if (kind == L"query") {
            line("result", music.Layer().MciQuery(argument));
        } else if (kind == L"cd") {
            music.OpenCd(std::stoi(argument));
            for (int tick = 0; tick < 3; ++tick) {
                music.CdWatchTick();
                line("result", music.CdWatchOk() ? L"1" : L"0");
            }
            if (music.CdWatchOk()) music.StopCd();
        } else if (kind == L"mp3") {
            music.StartMp3(argument);
            music.RestartMp3IfEnded();
            music.StopMp3();
        } else if (kind == L"wav") {
            music.StartWav(argument);
            music.StopWav();
        }
        line("done", std::to_wstring(GetTickCount() - start));
    }
    return 0;
}
