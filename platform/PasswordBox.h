#pragma once
class QLineEdit;

// Makes `box` a password box whose every character shows as '*', whatever mask the desktop's
// style would use (a dot, in most).
void maskAsPassword(QLineEdit *box);
