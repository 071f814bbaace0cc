#include "show_music.h"
#include "winmm_port_win32.h"

std::unique_ptr<BackgroundMusic> MakeBackgroundMusic() {
    return MakeWinmmBackgroundMusic();
}
