#include "startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "temp_folder.h"

namespace {

class FakeStartupPlatform final : public StartupPlatform {
  public:
    bool WindowTitled(std::string_view title) override {
        calls.push_back("find " + std::string(title));
        return windows.count(std::string(title)) > 0;
    }
    bool IsWindowHandle(std::int32_t handle) override { return handles.count(handle) > 0; }
    void LoadSettings(SettingsVariables& settings) override {
        calls.push_back("load settings");
        settings.BgmKind = 1;
    }
    void ShowRendererMissing() override { calls.push_back("renderer missing"); }
    std::int32_t HideCursor() override {
        calls.push_back("hide cursor");
        return -1;
    }
    bool ClaimShow() override {
        calls.push_back("claim show");
        return showFree;
    }

    std::set<std::string> windows;
    std::set<std::int32_t> handles;
    bool showFree = true;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

class StartupTest : public testing::Test {
  protected:
    StartupDecision Start(const std::wstring& arguments) {
        platform.calls.clear();
        settings = {};
        return Main(arguments, folder.Folder(), platform, settings);
    }
    void AddRenderer() { folder.Write(L"Lullvane.dll", "MZ"); }

    TempFolder folder;
    FakeStartupPlatform platform;
    SettingsVariables settings;
};

TEST_F(StartupTest, ARunningShowOrSettingsDialogEndsEveryModeFirst) {
    AddRenderer();
    platform.handles.insert(4711);
    for (const char* running : {"Torvane2_Main", "<Lullvane>"}) {
        platform.windows = {running};
        for (const wchar_t* arguments : {L"/s", L"/p 4711", L"/c", L""}) {
            EXPECT_EQ(Start(arguments).action, StartupAction::End);
            EXPECT_EQ(platform.calls.back(), "find " + std::string(running));
            EXPECT_EQ(settings.BgmKind, 0) << "settings must not be read";
        }
    }
}

TEST_F(StartupTest, PreviewNeedsAWindowButNeitherSettingsNorRenderer) {
    platform.handles.insert(4711);
    StartupDecision decision = Start(L"/p 4711");
    EXPECT_EQ(decision.action, StartupAction::Preview);
    EXPECT_EQ(decision.previewHandle, 4711);
    EXPECT_EQ(platform.calls, (Calls{"find Torvane2_Main", "find <Lullvane>"}));
    EXPECT_EQ(Start(L"/P:4711").previewHandle, 4711);

    for (const wchar_t* bad : {L"/p 0", L"/p", L"/p garbage", L"/p 4712"}) {
        decision = Start(bad);
        EXPECT_EQ(decision.action, StartupAction::End);
        EXPECT_EQ(platform.calls.size(), 2u);
    }
}

TEST_F(StartupTest, AMissingRendererShowsTheMessageForEveryOtherMode) {
    for (const wchar_t* arguments : {L"/s", L"/c", L"", L"/x"}) {
        EXPECT_EQ(Start(arguments).action, StartupAction::End);
        EXPECT_EQ(platform.calls, (Calls{"find Torvane2_Main", "find <Lullvane>", "load settings",
                                         "renderer missing"}));
    }
}

TEST_F(StartupTest, DispatchesTheModesWhenTheRendererIsThere) {
    AddRenderer();
    EXPECT_EQ(Start(L"/c:1234").action, StartupAction::SettingsDialog);
    EXPECT_EQ(settings.BgmKind, 1);

    EXPECT_EQ(Start(L"/a").action, StartupAction::End);
    EXPECT_EQ(platform.calls.back(), "load settings");

    EXPECT_EQ(Start(L"").action, StartupAction::Show);
    EXPECT_EQ(platform.calls.back(), "claim show");  // started bare, the cursor stays
    EXPECT_EQ(settings.CursorCount, 0);

    for (const wchar_t* arguments : {L"/s", L"-S", L"/s:123"}) {
        EXPECT_EQ(Start(arguments).action, StartupAction::Show);
        EXPECT_EQ(platform.calls, (Calls{"find Torvane2_Main", "find <Lullvane>", "load settings",
                                         "claim show", "hide cursor"}));
        EXPECT_EQ(settings.CursorCount, -1);
    }
}

TEST_F(StartupTest, OnlyAShowNeedsTheClaimAndEndsWithoutIt) {
    AddRenderer();
    platform.handles.insert(4711);
    platform.showFree = false;
    for (const wchar_t* arguments : {L"/s", L""}) {
        EXPECT_EQ(Start(arguments).action, StartupAction::End);
        EXPECT_EQ(platform.calls.back(), "claim show") << "the cursor must stay as it is";
    }
    EXPECT_EQ(Start(L"/c").action, StartupAction::SettingsDialog);
    EXPECT_EQ(Start(L"/p 4711").action, StartupAction::Preview);
    for (const wchar_t* arguments : {L"/c", L"/p 4711", L"/x"}) {
        Start(arguments);
        EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "claim show"), 0);
    }
}

}  // namespace
