#include "platform/fake/FakeDialogs.hpp"

namespace zorlo {

void FakeDialogs::messageBox(const Text& text, const Text& title) {
    log_.record(FakeEvent{"msgbox", {{"text", text}, {"title", title}}});
}

bool FakeDialogs::question(const Text& text, const Text& title) {
    bool yes = false;
    if (!answers_.empty()) {
        yes = answers_.front();
        answers_.pop_front();
    }
    log_.record(FakeEvent{
        "question", {{"text", text}, {"title", title}, {"answer", Text(yes ? u"yes" : u"no")}}});
    return yes;
}

std::optional<Text> FakeDialogs::inputBox(const Text& prompt, const Text& title,
                                          const Text& defaultText, int leftTwips, int topTwips) {
    std::optional<Text> answer;
    if (!inputs_.empty()) {
        answer = inputs_.front();
        inputs_.pop_front();
    }
    lastInputLeft_ = leftTwips;
    lastInputTop_ = topTwips;
    FakeValue shown = nullptr;
    if (answer) {
        shown = *answer;
    }
    log_.record(FakeEvent{"inputbox",
                          {{"prompt", prompt},
                           {"title", title},
                           {"default", defaultText},
                           {"answer", std::move(shown)}}});
    return answer;
}

} // namespace zorlo
