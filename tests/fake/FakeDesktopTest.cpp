#include "platform/fake/FakeDesktop.hpp"

#include <gtest/gtest.h>

namespace zorlo {
namespace {

// The editing keys must treat CR LF as one character, as a Windows text box
// does, or transcripts would show half line breaks.
TEST(FakeTextArea, EditingKeysTreatLineBreakAsOneCharacterAndCaretsStayInside) {
    FakeTextArea area;
    area.setText(u"ab\r\ncd");
    area.setCaret(4);
    area.moveLeft();
    EXPECT_EQ(area.caret(), 2);
    area.moveRight();
    EXPECT_EQ(area.caret(), 4);
    area.backspace();
    EXPECT_EQ(area.text(), u"abcd");
    EXPECT_EQ(area.caret(), 2);

    area.setText(u"ab\r\ncd");
    area.setCaret(2);
    area.deleteForward();
    EXPECT_EQ(area.text(), u"abcd");

    area.setCaret(0);
    area.backspace();
    EXPECT_EQ(area.text(), u"abcd");

    // A line break replaces the selection, which stays inside the text; setting
    // the whole text puts the caret at the start, as a Windows box does. (Home,
    // End and selections over the command line are the line_editing transcript's.)
    area.setText(u"out\r\nd x");
    area.setCaret(1);
    area.setSelLength(100);
    EXPECT_EQ(area.selLength(), 7);
    area.insertLineBreak();
    EXPECT_EQ(area.text(), u"o\r\n");
    EXPECT_EQ(area.caret(), 3);
    area.setText(u"xyz");
    EXPECT_EQ(area.caret(), 0);
    area.setCaret(-5);
    EXPECT_EQ(area.caret(), 0);
}

namespace {

// A text area that has only the whole-text operations: the port's own reads
// of a part and cut of the start then say what every adapter must give.
class WholeTextArea : public TextArea {
  public:
    Text text() const override { return text_; }
    void setText(const Text& text) override {
        text_ = text;
        caret_ = 0;
        selLength_ = 0;
    }
    int caret() const override { return caret_; }
    void setCaret(int position) override { caret_ = position; }
    int selLength() const override { return selLength_; }
    void setSelLength(int length) override { selLength_ = length; }
    void replaceSelection(const Text&) override {}

  private:
    Text text_;
    int caret_ = 0;
    int selLength_ = 0;
};

} // namespace

TEST(FakeTextArea, PartReadsAndStartCutAgreeWithTheWholeText) {
    FakeTextArea fake;
    WholeTextArea whole;
    for (const Text text : {u"", u">", u"ab\r\ncd\r\n>x", u"x>y>\r\n\r\n>"}) {
        fake.setText(text);
        whole.setText(text);
        for (int p = -1; p <= fake.length() + 1; ++p) {
            EXPECT_EQ(fake.textFrom(p), whole.textFrom(p)) << p;
        }
        for (const Text needle : {u">", u"\r\n", u"", u"zz"}) {
            EXPECT_EQ(fake.lastIndexOf(needle), whole.lastIndexOf(needle));
        }
        for (int count = 0; count <= fake.length(); ++count) {
            fake.setText(text);
            whole.setText(text);
            fake.setCaret(fake.length());
            whole.setCaret(whole.length());
            fake.replaceStart(count, u"(**TRUNCATED**)");
            whole.replaceStart(count, u"(**TRUNCATED**)");
            EXPECT_EQ(fake.text(), whole.text());
            EXPECT_EQ(fake.caret(), whole.caret());
            EXPECT_EQ(fake.selLength(), whole.selLength());
        }
    }
}

} // namespace
} // namespace zorlo
