#pragma once
// Small helpers shared by the tests.
#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

// The text of the AppError that `step` throws; empty when it throws none.
QString errorOf(const std::function<void()> &step);

// Types `text` key by key, as keyboard input (QTest's key clicks take only ASCII).
void typeText(QWidget *widget, const QString &text);

// Writes `bytes` to `path`, making its folder; a failure to open fails the test.
void writeFile(const QString &path, const QByteArray &bytes);
// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &path);
