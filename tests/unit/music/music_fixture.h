#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "fake_mci_device.h"
#include "torvane2_bgm.h"

// The music module playing through a fake device that the test scripts and inspects.
class MusicTest : public ::testing::Test {
  protected:
    std::unique_ptr<FakeMciDevice> owned = std::make_unique<FakeMciDevice>();
    FakeMciDevice& device = *owned;
    Torvane2_BGM music{std::move(owned)};
};
