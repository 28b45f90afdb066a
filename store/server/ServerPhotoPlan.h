#pragma once
// The names under which the photos of one import enter a bank on a server (table
// perguntas.fotos), planned before anything is stored, as PhotoPlan plans them in a fotos
// folder: a file's own name while the bank has no photo of that name, or has one with the same
// bytes (which is then named, not stored again); else "name-2.ext", "name-3.ext", ...
#include "store/bank/PhotoPlan.h"
#include "store/server/ServerSetup.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class ServerPhotoPlan final : public PhotoPlacer {
public:
    // The bank that `connection` reaches; asked while the plan is made, never written.
    explicit ServerPhotoPlan(const QString &connection);

    QString place(const QString &source) override;
    // The bank's photo `stored` has the bytes of `source`.
    bool sameAs(const QString &source, const QString &stored) override;

    // The photos to store, in the order they were planned.
    const QList<ServerPhotoFile> &stores() const { return m_stores; }

private:
    QString m_connection;
    QHash<QString, QString> m_placed; // canonical source -> name
    QSet<QString> m_taken;            // names planned
    QList<ServerPhotoFile> m_stores;
};
