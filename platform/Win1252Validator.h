#pragma once
#include <QValidator>

// Keeps characters outside Windows-1252 out of an edit box: the text of the tables and of the
// record file is single-byte Windows-1252.
class Win1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};
