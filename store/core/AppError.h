#pragma once
// The one error type that the data store and the platform layer throw. It carries the text that
// the standard error box shows to the user, in the system's own wording.
#include <QString>
#include <exception>

class AppError : public std::exception {
public:
    explicit AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
