#pragma once
// Small helpers shared by the tests.
#include <QString>
#include <functional>

class QWidget;

// The text of the AppError that `step` throws; empty when it throws none.
QString errorOf(const std::function<void()> &step);

// Types `text` key by key, as keyboard input (QTest's key clicks take only ASCII).
void typeText(QWidget *widget, const QString &text);
