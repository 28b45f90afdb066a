#pragma once
// The table cursor of the table engine (see TableEngine.h).
#include "store/tables/Fields.h"

class EngineSource;

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

// A cursor over one table file: a current record, a record buffer for editing, and moves in the
// order of the active index. Moves are index seeks, never scans.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    explicit Table(QObject *parent = nullptr);
    ~Table() override;

    // Opens table `fileName` of the bank at `where` and checks that it holds the given fields.
    // With an `orderField` ("Id") the records run in that field's order; without, in storage
    // order. The first record becomes current. On a folder, an index that orders one of the text
    // fields under NOCASE, which ignores the case of A-Z only (as in tables made by earlier
    // versions of the set-up tool), is first replaced by the same-named index on caseFoldedKey()
    // of that field; while the file cannot be changed (read-only, or locked by another program)
    // it is kept as it is.
    void open(const EngineSource &bank, const QString &fileName, const QList<FieldDef> &fields,
              const QString &orderField = QString());
    bool isOpen() const;

    State state() const;
    bool hasRecord() const; // false on an empty table (and while inserting, until posted)
    bool isModified() const; // a field was set since edit() or append()

    // Field values of the current record, or of the record buffer while editing or inserting.
    // Names match without regard to case. A blank field reads as the empty text.
    QString fieldText(const QString &name) const;
    QVariant fieldValue(const QString &name) const; // null QVariant for a blank field
    int fieldSize(const QString &name) const;       // 0 for numbers
    FieldType fieldType(const QString &name) const;

    // Only while editing or inserting. Text longer than the field is cut to its size; the empty
    // text makes the field blank; a number field takes a decimal number.
    void setFieldText(const QString &name, const QString &text);

    void edit();   // on a table with no record, starts a new one (as append)
    void append(); // a new, blank record; it is not stored until post()
    void post();   // writes the record buffer; the record stays current
    void cancel(); // drops the changes or the new record
    void remove(); // deletes the current record; the next one (or else the prior) becomes current

    void first();
    void prior();
    void next();
    void last();
    bool atFirst() const; // no record before the current one
    bool atLast() const;  // no record after the current one
    // The text of field `name` of the record after (or before) the current one in the active
    // order, without moving; the empty text when there is none.
    QString neighbourText(bool after, const QString &name) const;

    // Makes a secondary index active, or orders by a field again ("id"). An index runs in the
    // order of its first field under its collation, or, for an index on caseFoldedKey() of a
    // field, in that key's order, ignoring the case of every letter. Changing the order
    // while editing or inserting first ends it: the record is posted if a field was changed,
    // otherwise the edit is cancelled. The current record stays current.
    void setIndexName(const QString &indexName);
    void setIndexFieldNames(const QString &fieldNames);
    // With a secondary index active, makes current the first record whose key is equal to or
    // after `key` in the index's order (the last record when none is).
    void findNearest(const QString &key);

signals:
    void recordChanged(); // the current record, or the buffer's contents, changed
    void stateChanged();  // browse, edit or insert

private:
    // Ends an edit or insert before a move or a change of order: the record is posted if a field
    // was changed, otherwise the edit is cancelled.
    void endEdit();

    struct Private;
    std::unique_ptr<Private> d;
};
