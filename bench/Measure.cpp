#include "Measure.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(QList<double> values, double share)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = qsizetype(std::ceil(share * double(values.size())));
    return values[std::clamp<qsizetype>(rank - 1, 0, values.size() - 1)];
}

namespace {

double timeOnce(const Timed &timed)
{
    if (timed.before)
        timed.before();
    QElapsedTimer timer;
    timer.start();
    timed.body();
    const qint64 ns = timer.nsecsElapsed();
    if (timed.after)
        timed.after();
    return double(ns) / 1e6;
}

} // namespace

Medians medianMs(int repetitions, const Timed &measured, const Timed &baseline)
{
    QList<double> a, b;
    for (int i = -1; i < repetitions; ++i) {
        const double ta = timeOnce(measured);
        const double tb = baseline.body ? timeOnce(baseline) : 0;
        if (i >= 0) { // the first run of each only warms up
            a.append(ta);
            b.append(tb);
        }
    }
    return {median(a), median(b)};
}

QList<double> timesMs(int repetitions, const Timed &measured)
{
    QList<double> times;
    for (int i = -1; i < repetitions; ++i) {
        const double t = timeOnce(measured);
        if (i >= 0)
            times.append(t);
    }
    return times;
}

double medianMs(int repetitions, const Timed &measured)
{
    return medianMs(repetitions, measured, Timed()).measured;
}

bool Row::met() const
{
    switch (goal) {
    case Goal::None:
        return true;
    case Goal::Below:
        return value < limit;
    case Goal::RatioAtMost:
        return baselineValue > 0 && value / baselineValue <= limit;
    case Goal::BelowAndRatioAtMost:
        return value < limit && baselineValue > 0 && value / baselineValue <= ratioLimit;
    case Goal::Equal:
        return value == limit;
    }
    return false;
}

void Report::section(const QString &title)
{
    m_lines.append({title, Row()});
}

void Report::add(const Row &row)
{
    m_lines.append({QString(), row});
}

void Report::defineBaseline(const QString &key, const QString &meaning)
{
    m_baselines.append({key, meaning});
}

void Report::note(const QString &text)
{
    m_notes.append(text);
}

void Report::error(const QString &text)
{
    m_errors.append(text);
}

int Report::missed() const
{
    return int(m_errors.size()) + int(std::count_if(m_lines.begin(), m_lines.end(), [](const Line &line) {
        return line.section.isEmpty() && !line.row.met();
    }));
}

namespace {

QString number(double value, const QString &unit)
{
    const int decimals = value >= 100 ? 1 : value >= 10 ? 2 : 3;
    return QString::number(value, 'f', decimals) + QLatin1Char(' ') + unit;
}

QString goalText(const Row &row)
{
    switch (row.goal) {
    case Row::Goal::None:
        return QStringLiteral("—");
    case Row::Goal::Below:
        return QStringLiteral("< %1 %2").arg(row.limit).arg(row.unit);
    case Row::Goal::RatioAtMost:
        return QStringLiteral("≤ %1× base").arg(row.limit);
    case Row::Goal::BelowAndRatioAtMost:
        return QStringLiteral("< %1 %2, ≤ %3×").arg(row.limit).arg(row.unit).arg(row.ratioLimit);
    case Row::Goal::Equal:
        return QStringLiteral("= %1 %2").arg(row.limit).arg(row.unit);
    }
    return QString();
}

} // namespace

QString Report::text() const
{
    const QStringList header = {QStringLiteral("Medida"), QStringLiteral("Mediana"), QStringLiteral("n"),
                                QStringLiteral("Base"),   QStringLiteral("Mediana base"),
                                QStringLiteral("Razão"),  QStringLiteral("Meta"), QStringLiteral("Atingida")};
    QList<QStringList> cells;
    for (const Line &line : m_lines) {
        if (!line.section.isEmpty()) {
            cells.append({line.section});
            continue;
        }
        const Row &r = line.row;
        const bool hasBase = !r.baseline.isEmpty();
        const QString ratio = hasBase && r.baselineValue > 0
            ? QString::number(r.value / r.baselineValue, 'f', 2) + QStringLiteral("×")
            : QStringLiteral("—");
        cells.append({r.what, number(r.value, r.unit), QString::number(r.repetitions),
                      hasBase ? r.baseline : QStringLiteral("—"),
                      hasBase ? number(r.baselineValue, r.unit) : QStringLiteral("—"),
                      ratio,
                      goalText(r),
                      r.goal == Row::Goal::None ? QStringLiteral("—")
                                                : r.met() ? QStringLiteral("sim") : QStringLiteral("NÃO")});
    }

    // Numbers are right-aligned, texts left-aligned; headings span the whole line.
    const QList<bool> right = {false, true, true, false, true, true, false, false};
    QList<qsizetype> width(header.size());
    for (int c = 0; c < header.size(); ++c)
        width[c] = header[c].size();
    for (const QStringList &row : cells)
        if (row.size() == header.size())
            for (int c = 0; c < row.size(); ++c)
                width[c] = std::max(width[c], row[c].size());

    auto format = [&](const QStringList &row) {
        QString out;
        for (int c = 0; c < row.size(); ++c) {
            out += right[c] ? row[c].rightJustified(width[c]) : row[c].leftJustified(width[c]);
            if (c + 1 < row.size())
                out += QStringLiteral("  ");
        }
        while (out.endsWith(QLatin1Char(' ')))
            out.chop(1);
        return out + QLatin1Char('\n');
    };

    QString out = format(header);
    qsizetype total = 0;
    for (qsizetype w : width)
        total += w + 2;
    out += QString(total - 2, QLatin1Char('-')) + QLatin1Char('\n');
    for (const QStringList &row : cells)
        out += row.size() == 1 ? QLatin1Char('\n') + row.first() + QLatin1Char('\n') : format(row);

    out += QStringLiteral("\nBases (medidas na mesma execução, alternadas uma a uma com a medida da linha):\n");
    for (const auto &[key, meaning] : m_baselines)
        out += QStringLiteral("  %1: %2\n").arg(key, meaning);
    for (const QString &error : m_errors)
        out += QStringLiteral("ERRO: ") + error + QLatin1Char('\n');
    if (!m_notes.isEmpty()) {
        out += QLatin1Char('\n');
        for (const QString &note : m_notes)
            out += note + QLatin1Char('\n');
    }
    return out;
}
