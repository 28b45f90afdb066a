#pragma once
// Timing of repeated runs and the table of results.
#include <QList>
#include <QString>
#include <functional>

// Runs `body` once to warm up, then `repetitions` times, and returns the median time of one
// run in milliseconds. `before` and `after`, when given, run around every run (the warm-up
// included) outside the timed span.
double medianMs(int repetitions, const std::function<void()> &body,
                const std::function<void()> &before = {}, const std::function<void()> &after = {});

double median(QList<double> values);

// One line of the table: a measurement beside the baseline measured in the same run.
struct Row {
    enum class Goal {
        None,        // reported for context only
        Below,       // value < limit
        RatioAtMost, // value / baseline <= limit
    };

    QString what;
    double value = 0;
    QString baseline;        // a key of the legend printed under the table
    double baselineValue = 0;
    Goal goal = Goal::None;
    double limit = 0;
    int repetitions = 0;
    QString unit = QStringLiteral("ms");

    bool met() const;
};

class Report {
public:
    void section(const QString &title);
    void add(const Row &row);
    // Explains a baseline key in the legend.
    void defineBaseline(const QString &key, const QString &meaning);
    void note(const QString &text);
    // A measurement that ran into an error: listed under the table, and counted as missed.
    void error(const QString &text);

    // The table, plain text with aligned columns, then the legend and the notes.
    QString text() const;
    int missed() const;

private:
    struct Line {
        QString section; // a heading when not empty
        Row row;
    };
    QList<Line> m_lines;
    QList<QPair<QString, QString>> m_baselines;
    QStringList m_notes;
    QStringList m_errors;
};
