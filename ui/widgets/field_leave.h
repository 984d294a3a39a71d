// When an edit field counts as left, for the fields that judge their text
// on leaving.
#pragma once

class QFocusEvent;

// Whether the focus loss moves the focus to another control of the field's
// window. A context menu only borrows the focus, and a loss to another
// window (the user switching applications, a box of the program) is no
// leaving: what the field holds stays, neither judged nor dropped, so that
// a user who leaves to look a number up finds it as typed on coming back.
bool LeavesFieldInItsWindow(const QFocusEvent &event);
