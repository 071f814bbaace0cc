#pragma once

#include <memory>

#include "background_music.h"

// The background music the show form plays through.
std::unique_ptr<BackgroundMusic> MakeBackgroundMusic();
