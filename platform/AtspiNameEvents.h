#pragma once
// Qt 6.4's bridge to the desktop's accessibility bus reports that a control's name or
// description changed without the new text: a screen reader, which speaks the new text of the
// control that has the focus, says nothing. This sends the change once more, with its text, on
// the bridge's own connection, so that a control can say something by changing its name (the
// navigator's buttons say which question they reached, a full password box says so).
class QAccessibleEvent;

namespace AtspiNameEvents {

// After Qt has handled `event`: repeats a name or description change with its text, when a
// screen reader listens on the bus. Anything else is left alone.
void repeatWithText(QAccessibleEvent *event);

} // namespace AtspiNameEvents
