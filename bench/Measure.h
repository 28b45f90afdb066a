#pragma once
// Timing of repeated runs and the table of results.
#include <QList>
#include <QString>
#include <functional>

// One operation to time: `body` is timed; `before` and `after`, when given, run around it
// outside the timed span.
struct Timed {
    std::function<void()> body;
    std::function<void()> before = {};
    std::function<void()> after = {};
};

struct Medians {
    double measured = 0;
    double baseline = 0;
};

// Runs `measured` and `baseline` in turn, once each to warm up and then `repetitions` times
// each, so that both meet the same state of the machine (other programs running, the clock
// speed); returns the median time of one run of each, in milliseconds.
Medians medianMs(int repetitions, const Timed &measured, const Timed &baseline);
// Runs `measured` once to warm up and then `repetitions` times; the time of each run, in
// milliseconds.
QList<double> timesMs(int repetitions, const Timed &measured);
double medianMs(int repetitions, const Timed &measured);

double median(QList<double> values);
// The nearest-rank percentile: the smallest of `values` that at least `share` (0 to 1) of them do
// not exceed.
double percentile(QList<double> values, double share);

// One line of the table: a measurement beside the baseline measured in the same run.
struct Row {
    enum class Goal {
        None,        // reported for context only
        Below,       // value < limit
        RatioAtMost, // value / baseline <= limit
        BelowAndRatioAtMost, // value < limit and value / baseline <= ratioLimit
        Equal,       // value == limit: a count or a score that must come out exactly
    };

    QString what;
    double value = 0;
    QString baseline;        // a key of the legend printed under the table
    double baselineValue = 0;
    Goal goal = Goal::None;
    double limit = 0;
    double ratioLimit = 0; // for BelowAndRatioAtMost
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
