#pragma once
class QLabel;
class QLineEdit;
class QWidget;

// Makes `box` a password box whose every character shows as '*', whatever mask the desktop's
// style would use (a dot, in most).
void maskAsPassword(QLineEdit *box);

// Stops `box` at `maxLength` characters and makes the stop plain, since a password cut short
// without a word is one the user no longer knows. While `box` has the focus and is full, `sign`
// shows (several boxes may share one sign); each time the box fills up or refuses a key, a
// screen reader hears the box's description become `sign`'s text.
void limitPassword(QLineEdit *box, int maxLength, QLabel *sign);

// The sign limitPassword() shows (and hides), as a screen puts it under its password boxes: centred,
// in the colour of a warning.
QLabel *passwordLimitSign(QWidget *parent);
