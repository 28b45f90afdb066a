#pragma once
// The statement object of the table engine (see TableEngine.h).
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <utility>

class EngineSource;

// One SQL statement on the bank at a location (a folder or a server). The statement is rebuilt before every use:
// close, clear the text, add its lines, set parameters, run, open, read columns of the first row.
class Query {
public:
    // The engine is reached at the statement's first use: a folder that does not exist, or a
    // server that cannot be reached, is an error of that use.
    explicit Query(std::shared_ptr<const EngineSource> bank);
    ~Query();

    // The whole rebuild in one call: close, new text, the parameters (name without the colon),
    // run, and open a statement that reads. Returns the query standing on its first row, for
    // reading its columns. A statement that changes data runs once and is left closed.
    Query &run(const QStringList &lines, const QList<std::pair<QString, qint32>> &parameters = {});

    void close();
    void clear();                     // closes and empties the text
    void add(const QString &line);    // appends a line to the text
    QStringList text() const;
    void setParameter(const QString &name, qint32 value); // name without the colon: "NUMID"
    void execSql(); // runs the statement and keeps no rows (a read-only one is only checked)
    void open();    // runs it again and stands on the first row (if any)
    bool isOpen() const;
    bool isEmpty() const; // open, but no row

    // Columns of the current row, by name or alias, without regard to case. No row, or a blank
    // value, gives a null QVariant. Numbers come as double or qlonglong, texts as QString.
    QVariant value(const QString &column) const;
    // Conversions that a blank value cannot take:
    // "Could not convert variant of type (Null) into type (Integer)" / "... (String)".
    qint32 asInteger(const QString &column) const; // a number to its nearest integer
    QString asText(const QString &column) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
