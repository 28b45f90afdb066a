#pragma once
// A group of radio buttons as one tab stop that the arrow keys move through. Qt gives the tab
// stop to the last button focused or checked, and stops the arrows at either end of the group,
// where a player who listens hears nothing happen.
#include <QList>

class QAbstractButton;

namespace RadioGroup {

// The arrow keys go round: Down or Right on the last button goes to the first, Up or Left on the
// first to the last, checking it when the button left was checked, as the other arrow moves do.
void wrapArrowKeys(const QList<QAbstractButton *> &buttons);

// Tab enters the group at its first button again, as it does in a group nobody has used yet.
void enterAtFirst(const QList<QAbstractButton *> &buttons);

} // namespace RadioGroup
