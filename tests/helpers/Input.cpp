#include "helpers/Input.h"

#include "store/AppError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

QString errorOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &error) {
        return error.text();
    }
    return QString();
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}
