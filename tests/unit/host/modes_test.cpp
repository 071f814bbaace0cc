#include <sstream>

#include "../common/expect_rows.h"
#include "command_arguments.h"
#include "command_line.h"
#include "preview_frame.h"
#include "show_mode.h"
#include "startup.h"
#include "temp_folder.h"

namespace {

using enum StartupAction;

// The platform of start-up and of the show, and the music, in one: it records each call in order
// and gives the answer it is told. Window 4711 is the one handle that is a window; loading the
// settings sets kind 1.
struct Fake final : StartupPlatform, ShowPlatform, BackgroundMusic {
    template <typename Answer = int>
    Answer Log(const std::string& call, Answer answer = {}) {
        calls += (calls.empty() ? "" : ", ") + call;
        return answer;
    }
    static std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }

    bool WindowTitled(std::string_view title) override { return Log("find", title == running); }
    bool IsWindowHandle(std::int32_t handle) override { return handle == 4711; }
    void LoadSettings(SettingsVariables& s) override { s.BgmKind = Log<std::int16_t>("load", 1); }
    void ShowRendererMissing() override { Log("missing"); }
    std::int32_t HideCursor() override { return Log("hide", -1); }
    bool ClaimShow() override { return Log("claim", showFree); }
    void StartMp3(const std::wstring& file) override { Log("mp3 " + Narrow(file)); }
    void RestartMp3IfEnded() override { Log("restart mp3"); }
    void StopMp3() override { Log("stop mp3"); }
    void StartWav(const std::wstring& file) override { Log("wav " + Narrow(file)); }
    void StopWav() override { Log("stop wav"); }
    void OpenCd(int repeatTrack) override { Log("cd " + std::to_string(repeatTrack)); }
    void CdWatchTick() override { Log("watch cd"); }
    bool CdWatchOk() const override { return cdOk; }
    void StopCd() override { Log("stop cd"); }
    void StartRenderer(const std::wstring& path) override { Log("renderer " + Narrow(path)); }
    bool RendererWindowExists() override { return window; }
    bool RendererEnded() override { return ended; }
    std::int32_t ShowCursor(bool show) override { return Log(show ? "show" : "hide", 0); }

    std::string running, calls;  // the title of the window already open; the calls made
    bool showFree = true, cdOk = true, window = false, ended = false;
};

// clang-format off
TEST(Startup, PicksTheModeOnceEachOfItsNeedsIsMetAndNeverBesideARunningShowOrDialog) {
    // Whether the renderer is there, the title of a window already open, whether the show is free
    // to claim, the arguments; then the mode, its preview window and the calls made.
    using Given = std::tuple<bool, const char*, bool, const wchar_t*>;
    using Decided = std::tuple<StartupAction, int, std::string>;
    ExpectRows<Given, Decided>([](const Given& given) {
            const auto& [renderer, running, showFree, arguments] = given;
            TempFolder folder;
            if (renderer) folder.Write(L"Lullvane.dll", "MZ");
            Fake platform;
            std::tie(platform.running, platform.showFree) = std::tuple(running, showFree);
            SettingsVariables settings;  // loaded as kind 1; with the cursor hidden, its count -1
            const StartupDecision decision = Main(arguments, folder.Folder(), platform, settings);
            return Decided(decision.action, decision.previewHandle,
                           platform.calls + " " + std::to_string(settings.BgmKind) + std::to_string(settings.CursorCount));
        },
        // Without the renderer: a message for every mode but the preview.
        {{{false, "", true, L"/s"}, {End, 0, "find, find, load, missing 10"}}, {{false, "", true, L"/x"}, {End, 0, "find, find, load, missing 10"}},
         {{false, "", true, L"/p 4711"}, {Preview, 4711, "find, find 00"}}, {{true, "", true, L"/s"}, {Show, 0, "find, find, load, claim, hide 1-1"}},
         {{true, "", true, L"/p 4712"}, {End, 0, "find, find 00"}}, {{true, "", true, L""}, {Show, 0, "find, find, load, claim 10"}},  // bare: the cursor stays
         {{true, "", true, L"/c:1234"}, {SettingsDialog, 0, "find, find, load 10"}}, {{true, "", true, L"/a"}, {End, 0, "find, find, load 10"}},
         // A show also needs the claim that another host starting at the same time may hold.
         {{true, "", false, L"/s"}, {End, 0, "find, find, load, claim 10"}}, {{true, "", false, L"/c"}, {SettingsDialog, 0, "find, find, load 10"}},
         {{true, "Torvane2_Main", true, L"/p 4711"}, {End, 0, "find 00"}}, {{true, "<Lullvane>", true, L"/c"}, {End, 0, "find, find 00"}}});
}

TEST(CommandLine, TheModeIsTheSecondCharacterInCapitalsAndTheHandleIsReadFromTheFourth) {
    // The mode letter and the preview handle (read leniently, rounded to 32 bits).
    ExpectRows<const wchar_t*, std::pair<wchar_t, std::int32_t>>([](const wchar_t* a) { return std::pair(ModeLetter(a), PreviewHandle(a)); },
        {{L"", {0, 0}}, {L"/", {0, 0}}, {L"/s", {L'S', 0}}, {L"-S", {L'S', 0}}, {L"/a", {L'A', 0}}, {L"/z", {L'Z', 0}}, {L"/`", {L'`', 0}},
         {L"/{", {L'{', 0}}, {L"/p ", {L'P', 0}}, {L"/p 7", {L'P', 7}}, {L"/P:4711", {L'P', 4711}}, {L"/c:4711", {L'C', 4711}},
         {L"/p   65602 trailing", {L'P', 65602}}, {L"/p 12.5", {L'P', 12}}, {L"/p -5", {L'P', -5}}, {L"/p garbage", {L'P', 0}},
         {L"/p 99999999999", {L'P', 0}}});
}

TEST(CommandArguments, DropTheProgramNameQuotedOrNotAndTheBlanksAfterIt) {
    ExpectRows<const wchar_t*, std::wstring>(forms::ArgumentsAfterProgramName,
        {{L"\"C:\\My Savers\\Lullvane.scr\" /p 4711", L"/p 4711"}, {L"C:\\WINDOWS\\LULLVA~1.SCR /s", L"/s"},
         {L"\"C:\\x.scr\"/c:123", L"/c:123"}, {L"Lullvane.scr   \t /S  ", L"/S  "}, {L"Lullvane.scr\t/c", L"/c"}, {L"Lullvane.scr", L""},
         {L"\"C:\\a b\\Lullvane.scr\"  ", L""}, {L"\"unterminated /s", L""}, {L"", L""}, {L"\"\" /s", L"/s"}});
}

TEST(PreviewFrame, TakesTheAreasSizeWhileItFitsSixteenBitTwips) {
    // Width and height in pixels, twips per pixel across and down; the frame taken, if any.
    using Area = std::tuple<int, int, int, int>;
    using Frame = std::optional<std::pair<int, int>>;
    ExpectRows<Area, Frame>([](const Area& area) {
            const auto frame = std::apply(PreviewFrameFor, area);
            return frame ? Frame({frame->width, frame->height}) : std::nullopt;
        },
        {{{152, 112, 15, 15}, {{152, 112}}}, {{0, 0, 15, 15}, {{0, 0}}}, {{2184, 100, 15, 12}, {{2184, 100}}}, {{32767, 1, 1, 1}, {{32767, 1}}},
         {{2185, 100, 15, 15}, {}}, {{100, 2731, 15, 12}, {}}, {{-1, 100, 15, 15}, {}}, {{152, 112, 0, 15}, {}}, {{152, 112, 15, 0}, {}}});
}

TEST(ShowMode, StartsAndKeepsTheMusicByKindAndFileTypeFollowsTheRendererAndStopsAllAtTheEnd) {
    // The kind and the file, then a script of ticks of timers 1 to 3 (3*n: n ticks), changes to
    // the fake (window, nowindow, ended, cdfails), the end (quit) and reads of the timers (1, 2, 3
    // for each that runs); then the calls made after starting the renderer and the cursor count.
    using Given = std::tuple<std::int16_t, const wchar_t*, std::string>;
    ExpectRows<Given, std::string>([](const Given& given) {
            const auto& [kind, file, script] = given;
            Fake fake;
            SettingsVariables settings{kind, 4, file, L"", -1};
            ShowMode show(fake, fake, settings, script.starts_with("bare") ? 0 : L'S');  // bare: no arguments
            show.Load(L"C:");
            std::istringstream words(script);
            for (std::string word; words >> word;) {
                if (word == "1") show.Timer1Tick();
                if (word == "2") show.Timer2Tick();
                const int ticks = word == "3" ? 1 : word.starts_with("3*") ? std::stoi(word.substr(2)) : 0;
                for (int tick = 0; tick < ticks; ++tick) {
                    if (show.Timer3Tick()) fake.Log("gone");
                }
                if (word == "window" || word == "nowindow") fake.window = word == "window";
                if (word == "ended") fake.ended = true;
                if (word == "cdfails") fake.cdOk = false;
                if (word == "quit") show.QueryUnload();
                if (word == "timers?") fake.Log(std::string("timers") + (show.Timer1Enabled() ? " 1" : "") +
                                                (show.Timer2Enabled() ? " 2" : "") + (show.Timer3Enabled() ? " 3" : ""));
            }
            const std::string log = fake.calls + ", cursor " + std::to_string(settings.CursorCount), started = "renderer C:\\Lullvane.dll, ";
            return log.starts_with(started) ? log.substr(started.size()) : log;  // every row starts the renderer first
        },
        {{{2, L"D:\\x.Mp3", "timers? 1 quit timers?"}, "mp3 D:\\x.Mp3, timers 1 3, restart mp3, stop mp3, show, timers 1 3, cursor 0"},
         {{2, L"mp3", "quit"}, "mp3 mp3, stop mp3, show, cursor 0"}, {{2, L"a.WAV", "timers? quit"}, "wav a.WAV, timers 3, stop wav, show, cursor 0"},
         {{1, L"x.mp3", "timers? 2 timers? cdfails 2 timers? quit"},  // a failed watch leaves the device alone
          "cd 4, timers 2 3, watch cd, timers 2 3, watch cd, timers 3, show, cursor 0"},
         {{1, L"", "timers? quit timers?"}, "cd 4, timers 2 3, stop cd, show, timers 3, cursor 0"},
         {{2, L"x.mid", "timers? quit"}, "timers 3, show, cursor 0"}, {{2, L"mp", "quit"}, "show, cursor 0"},
         {{0, L"x.mp3", "quit"}, "show, cursor 0"}, {{3, L"x.wav", "quit"}, "show, cursor 0"},
         // The renderer is gone once its window, once seen, closed, its process ended, or a grace
         // of 60 ticks without a window ran out; the renderer watch then stops.
         {{0, L"", "3*3 window 3*100 timers? nowindow 3 timers?"}, "timers 3, gone, timers, cursor -1"},
         {{0, L"", "3*60 timers? 3 timers?"}, "timers 3, gone, timers, cursor -1"}, {{0, L"", "ended 3"}, "gone, cursor -1"},
         {{2, L"x.wav", "bare quit"}, "wav x.wav, stop wav, cursor -1"}});  // the cursor never hidden
}
// clang-format on

}  // namespace
