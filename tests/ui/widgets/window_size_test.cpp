// The frame allowed for a window before the window manager has framed it,
// against the frames openbox 3.6 gives on an 800 x 600 Xvfb screen: a
// resizable window 1, 20, 1, 5 (left, top, right, bottom; the bottom is its
// resize handle), a fixed-size dialog 1, 20, 1, 1 and a maximised window
// 0, 19, 0, 0.
#include "ui/widgets/window_size.h"

#include <gtest/gtest.h>

namespace {

const QMargins Resizable(1, 20, 1, 5);
const QMargins FixedSize(1, 20, 1, 1);
const QMargins Maximised(0, 19, 0, 0);

// A window placed by its allowance keeps its whole frame on the screen: the
// window is placed by its frame's corner (FitWindowToScreen) or by its own
// corner inside the allowance (ShowMaximisedInScreenRoom), so each side must
// be covered.
void ExpectCovers(QMargins allowance, QMargins frame)
{
    EXPECT_GE(allowance.left(), frame.left());
    EXPECT_GE(allowance.top(), frame.top());
    EXPECT_GE(allowance.right(), frame.right());
    EXPECT_GE(allowance.bottom(), frame.bottom());
}

} // namespace

TEST(FrameAllowanceTest, ARestoredOrNewResizableWindowKeepsItsFrameOnTheScreen)
{
    {
        SCOPED_TRACE("nothing framed yet");
        ExpectCovers(FrameAllowance({}), Resizable);
    }
    {
        // The main window as the program shows it: a window opened then
        // gets the borders and the border above the title bar a maximised
        // window does not show.
        SCOPED_TRACE("the main window maximised");
        ExpectCovers(FrameAllowance({{Maximised, true}}), Resizable);
    }
    {
        // Help opened from a dialog: the dialog, framed last, has no handle.
        SCOPED_TRACE("a dialog over the maximised main window");
        ExpectCovers(FrameAllowance({{FixedSize, false}, {Maximised, true}}), Resizable);
        ExpectCovers(FrameAllowance({{Maximised, true}, {FixedSize, false}}), Resizable);
    }
    {
        SCOPED_TRACE("a dialog alone");
        ExpectCovers(FrameAllowance({{FixedSize, false}}), Resizable);
    }
    // A framed resizable window tells the frame as it is, title bar and all.
    EXPECT_EQ(FrameAllowance({{Resizable, false}}).top(), Resizable.top());
}
