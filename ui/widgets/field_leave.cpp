#include "ui/widgets/field_leave.h"

#include <QFocusEvent>

bool LeavesFieldInItsWindow(const QFocusEvent &event)
{
    return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}
