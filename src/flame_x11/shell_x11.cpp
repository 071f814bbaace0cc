// lullvane-flame: the flame on X11 with GLX, full screen, in a window, inside a screen saver's
// window, or headless-ish for stills and measurements.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "flame_session.h"
#include "frame_pacing.h"
#include "gl_draw.h"
#include "gl_frame.h"
#include "png_file.h"
#include "termination_x11.h"
// Xlib's macros (None, Status) would break the project's headers: it comes after them.
// clang-format off
#include "glx_surface_x11.h"
#include <X11/Xutil.h>
// clang-format on

namespace {

std::int64_t MonotonicNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::int64_t MonotonicMicroseconds() {
    return MonotonicNanoseconds() / 1000;
}

void SleepMicroseconds(std::int64_t microseconds) {
    timespec pause{static_cast<time_t>(microseconds / 1'000'000),
                   static_cast<long>(microseconds % 1'000'000) * 1000};
    nanosleep(&pause, nullptr);  // a signal ends it early, which is what we want
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "lullvane-flame: %s\n", message.c_str());
    return 1;
}

// A focus change that hands the keyboard to another window for good; passing grabs (a window
// manager's key bindings) and moves within our own window do not count.
bool IsFocusLoss(const XFocusChangeEvent& event) {
    return (event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed) &&
           event.detail != NotifyInferior && event.detail != NotifyPointer;
}

// Handles the waiting X events; Quit when one of them ends the session.
SessionStep HandleXEvents(GlxSurface& surface, FlameRenderer& renderer, const SessionRules& rules) {
    while (XPending(surface.display)) {
        XEvent event;
        XNextEvent(surface.display, &event);
        SessionStep step = SessionStep::Continue;
        switch (event.type) {
            case KeyPress: {
                char text[8];
                const int length = XLookupString(&event.xkey, text, sizeof text, nullptr, nullptr);
                for (int i = 0; i < length && step == SessionStep::Continue; ++i) {
                    step = HandleShellEvent(renderer.flame, rules, ShellEvent::Key,
                                            static_cast<unsigned char>(text[i]));
                }
                break;
            }
            case FocusOut:
                if (IsFocusLoss(event.xfocus)) {
                    step = HandleShellEvent(renderer.flame, rules, ShellEvent::FocusLost);
                }
                break;
            case MapNotify:
                // Full screen takes the keyboard as soon as it shows, as the Windows renderer
                // is active from the start.
                if (rules.closesOnFocusLoss && event.xmap.window == surface.window) {
                    XSetInputFocus(surface.display, surface.window, RevertToParent, CurrentTime);
                }
                break;
            case ConfigureNotify:
                if (event.xconfigure.window == surface.window) {
                    SetClientSize(renderer, event.xconfigure.width, event.xconfigure.height);
                }
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == surface.window) {
                    step = HandleShellEvent(renderer.flame, rules, ShellEvent::WindowGone);
                }
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == surface.deleteWindow) {
                    step = HandleShellEvent(renderer.flame, rules, ShellEvent::CloseRequested);
                }
                break;
            default:
                break;
        }
        if (step == SessionStep::Quit) return step;
    }
    return SessionStep::Continue;
}

// Glyphs of the core "fixed" font as display lists for the frames-per-second line; 0 when the
// server has no such font (the counter is then not shown).
unsigned LoadOverlayFont(Display* display) {
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    if (!font) return 0;
    const unsigned base = glGenLists(128);
    if (base != 0) glXUseXFont(font->fid, 0, 128, static_cast<int>(base));
    XFreeFont(display, font);
    return base;
}

// Interactive and screen-saver modes: paced frames timed by the clock until an event or a
// signal ends them.
int RunLive(GlxSurface& surface, FlameRenderer& renderer, const FlameOptions& options) {
    const SessionRules rules = RulesFor(options.mode);
    const unsigned fontBase = options.showFps ? LoadOverlayFont(surface.display) : 0;
    FramePacer pacer(options.delayMicroseconds);
    FpsCounter fps;
    std::string fpsText;
    for (;;) {
        if (HandleXEvents(surface, renderer, rules) == SessionStep::Quit) break;
        if (TerminationRequested()) break;
        const std::int64_t sleep = pacer.SleepBeforeFrame(MonotonicMicroseconds());
        if (sleep > 0) SleepMicroseconds(sleep);
        if (TerminationRequested()) break;

        RenderTimedFrame(renderer, MonotonicNanoseconds());
        if (fontBase != 0) {
            if (fps.CountFrame(MonotonicMicroseconds())) fpsText = FpsText(fps.Rate());
            if (!fpsText.empty()) {
                DrawOverlayText(fontBase, fpsText, renderer.clientWidth, renderer.clientHeight);
            }
        }
        glXSwapBuffers(surface.display, surface.window);
        // A screen saver's window may vanish under us; that ends the show, not with a crash.
        if (TakeXError() != 0 && options.mode == FlameMode::Hosted) break;
    }
    return 0;
}

// A still: N frames with a fixed delta, the last one saved as a PNG.
int RunStill(GlxSurface& surface, FlameRenderer& renderer, const FlameOptions& options) {
    const SessionRules rules = RulesFor(options.mode);
    for (long long frame = 1; frame <= options.frames; ++frame) {
        if (HandleXEvents(surface, renderer, rules) == SessionStep::Quit ||
            TerminationRequested()) {
            return Fail("stopped before the last frame; no screenshot written");
        }
        RenderFrame(renderer, options.fixedDt);
        if (frame == options.frames) {
            const auto pixels = ReadFramePixels(renderer.clientWidth, renderer.clientHeight);
            if (!WritePng(renderer.clientWidth, renderer.clientHeight, pixels.data(),
                          options.screenshot)) {
                return Fail("cannot write " + options.screenshot);
            }
        }
        glXSwapBuffers(surface.display, surface.window);
    }
    return 0;
}

// Frames per second of each drawing path over the same full pool. The paths take turns in
// rounds so that a busy moment on the machine weighs on both alike.
int RunBenchmark(GlxSurface& surface, FlameRenderer& renderer, const FlameOptions& options) {
    constexpr float kDelta = 1.0f / 64.0f;
    constexpr int kRounds = 5;
    constexpr DrawPath kPaths[2] = {DrawPath::Immediate, DrawPath::VertexArrays};
    // Four seconds of flame: births now only replace deaths, so the pool stays full.
    for (int frame = 0; frame < 256; ++frame) StepFlame(renderer.flame, kDelta);
    const SessionRules rules = RulesFor(options.mode);
    const long long framesPerRound = std::max(1LL, options.benchmarkFrames / kRounds);

    const auto renderFrames = [&](DrawPath path, long long frames) {
        renderer.drawPath = path;
        const std::int64_t start = MonotonicNanoseconds();
        for (long long frame = 0; frame < frames; ++frame) {
            RenderFrame(renderer, kDelta);
            glXSwapBuffers(surface.display, surface.window);
        }
        glFinish();
        return (MonotonicNanoseconds() - start) / 1e9;
    };
    for (const DrawPath path : kPaths) renderFrames(path, 10);  // warm-up, not measured

    double seconds[2] = {0, 0};
    for (int round = 0; round < kRounds; ++round) {
        for (int path = 0; path < 2; ++path)
            seconds[path] += renderFrames(kPaths[path], framesPerRound);
        if (HandleXEvents(surface, renderer, rules) == SessionStep::Quit ||
            TerminationRequested()) {
            return Fail("stopped before the measurement ended");
        }
    }
    const long long frames = framesPerRound * kRounds;
    std::printf("lullvane-flame: %dx%d, %d particles, %lld frames per drawing path\n",
                renderer.clientWidth, renderer.clientHeight, renderer.flame.scene.particleCount,
                frames);
    std::printf("immediate mode: %7.1f fps\nvertex arrays:  %7.1f fps\n", frames / seconds[0],
                frames / seconds[1]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const char* screensaverWindow = std::getenv("XSCREENSAVER_WINDOW");
    const auto parsed = ParseFlameOptions(
        args,
        screensaverWindow ? std::optional<std::string_view>(screensaverWindow) : std::nullopt);
    if (parsed.helpAsked) {
        std::fputs(FlameUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.options) {
        // Exit code 1, as the hacks a screen saver runs end on an option they cannot use.
        std::fprintf(stderr, "lullvane-flame: %s\n%s", parsed.error.c_str(), FlameUsage().c_str());
        return 1;
    }
    const FlameOptions& options = *parsed.options;
    CatchTerminationSignals();

    GlxSurface surface;
    std::string error;
    if (!OpenGlxSurface(options, surface, error)) return Fail(error);

    static FlameRenderer renderer;
    renderer.drawPath = options.drawPath;
    renderer.clock.Start(1'000'000'000, MonotonicNanoseconds());
    SetClientSize(renderer, surface.width, surface.height);
    InitGL(renderer);

    int exitCode = 0;
    switch (options.mode) {
        case FlameMode::Still:
            exitCode = RunStill(surface, renderer, options);
            break;
        case FlameMode::Benchmark:
            exitCode = RunBenchmark(surface, renderer, options);
            break;
        default:
            exitCode = RunLive(surface, renderer, options);
            break;
    }
    CloseGlxSurface(surface);
    EndByCaughtSignal();
    return exitCode;
}
