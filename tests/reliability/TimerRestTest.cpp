// The desktop console stops its 50 ms timer while a tick would change nothing
// and starts it again when a key goes down or up, the window gains or loses the
// front, or any other event reaches the console. Two consoles take the same
// random inputs, one ticking always and one resting whenever it may: they must
// never differ.
#include "ConsoleSession.hpp"

#include <tuple>

namespace zorlo::testing {
namespace {

auto observable(const ConsoleSession& s) {
    const ConsoleSnapshot c = s.console.snapshot();
    return std::make_tuple(c.shown, c.hidden, c.lockKey, c.exitRequested, s.desk.window.isVisible(),
                           s.desk.window.isForeground(), s.desk.log.count("bleep"));
}

class TimerRest : public ::testing::TestWithParam<unsigned> {};

TEST_P(TimerRest, RestingChangesNothingThatTheUserCanSee) {
    std::mt19937 random(GetParam());
    const auto pick = [&random](int n) { return static_cast<int>(random() % n); };
    const std::string modifier = pick(2) == 0 ? "0" : "17";
    ScratchFolder alwaysFolder;
    ScratchFolder restingFolder;
    for (const ScratchFolder* folder : {&alwaysFolder, &restingFolder}) {
        writeFileBytes(folder->path() / "zorlo.param", params(modifier));
    }
    ConsoleSession always(alwaysFolder.path());
    ConsoleSession resting(restingFolder.path());
    const auto both = [&](const auto& input) {
        input(always);
        input(resting);
    };
    bool asleep = false;
    int rests = 0;
    int wakes = 0;
    bool keyDown = false;
    bool modifierDown = false;

    for (int step = 0; step < 3000; ++step) {
        const int what = pick(10);
        bool woken = true;
        if (what < 4) {
            const int ticks = 1 + pick(3);
            for (int i = 0; i < ticks; ++i) {
                always.console.timerTick();
                if (!asleep) {
                    resting.console.timerTick();
                    asleep = resting.console.timerMayRest();
                    rests += asleep ? 1 : 0;
                }
            }
            woken = false;
        } else if (what < 7) {
            // The hotkey, or its modifier, goes down or up.
            bool& down = what < 6 ? keyDown : modifierDown;
            down = !down;
            const int key = what < 6 ? vk::F12 : vk::Control;
            both([&](ConsoleSession& s) { s.desk.keyboard.setDown(key, down); });
        } else if (what == 7) {
            const bool front = pick(2) == 0;
            both([&](ConsoleSession& s) { s.desk.window.userSetForeground(front); });
        } else if (what == 8) {
            both([](ConsoleSession& s) { s.console.togglePressed(); });
        } else {
            both([](ConsoleSession& s) { s.line(u"param active"); });
        }
        if (woken && asleep) {
            asleep = false;
            ++wakes;
        }
        ASSERT_EQ(observable(always), observable(resting)) << "step " << step << ", input " << what;
    }
    // The comparison means something only if the console really rested.
    EXPECT_GT(rests, 100);
    EXPECT_GT(wakes, 100);
    // The tick that unloads after the exit command never rests.
    resting.line(u"exit");
    resting.console.timerTick();
    EXPECT_FALSE(resting.console.timerMayRest());
    EXPECT_EQ(resting.desk.log.count("unload"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TimerRest, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

} // namespace
} // namespace zorlo::testing
