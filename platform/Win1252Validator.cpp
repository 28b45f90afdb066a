#include "platform/Win1252Validator.h"

#include "store/core/Win1252.h"

QValidator::State Win1252Validator::validate(QString &input, int &) const
{
    return fitsWin1252(input) ? Acceptable : Invalid;
}

void Win1252Validator::fixup(QString &input) const
{
    input = keepWin1252(input);
}
