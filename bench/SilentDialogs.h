#pragma once
// A dialog backend that shows nothing: every question is answered Yes/OK, a text prompt with the
// text set beforehand. Error reports are counted, so that a measurement that ran into an error
// (a photo that would not load, a table that would not open) is not taken for a fast one.
#include "platform/Dialogs.h"

#include <QString>

class SilentDialogs final : public DialogBackend {
public:
    QString promptAnswer;
    int errors = 0;
    QString lastError;

    bool show(Kind kind, const QString &, const QString &text, int, QWidget *, QString &answer) override
    {
        if (kind == Kind::Error) {
            ++errors;
            lastError = text;
        }
        answer = kind == Kind::Prompt ? promptAnswer : QString();
        return true;
    }
    bool showWithPicture(const QString &, const QString &, const QImage &) override { return true; }
};
