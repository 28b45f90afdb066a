#pragma once
// The bank of generated questions on a PostgreSQL server, for the measurements on a server: the
// database jornada_bench_COUNT of the server that the connection given to jornada-bench reaches
// (as a role that may make databases and roles). It is made as the set-up makes a bank on a
// server (the schemas, the administrator's and the pupils' roles with their rights), with the
// questions of Banks.h filled in by one statement on the server, and kept there between runs:
// a database whose bank is whole and of this format is only opened.
#include <QString>
#include <QTemporaryDir>

#include <memory>

class KeptServerBank {
public:
    // The bank of `count` questions on the server of `connection`. Throws AppError.
    static std::unique_ptr<KeptServerBank> kept(const QString &connection, int count);

    int questions() const { return m_questions; }
    // Connection strings to the bank's database: as the role given to jornada-bench, as the
    // administrator's role (what the login hands the editor), and as the pupils' role (what a lab
    // machine's setting holds).
    QString owner() const { return m_owner; }
    QString administrator() const { return m_administrator; }
    QString pupils() const { return m_pupils; }
    // The folder that the game's setting lives in (XDG_CONFIG_HOME for a child process).
    QString settingFolder() const { return m_setting.path(); }
    // Points this process's game at the bank as a lab machine: the setting's [banco] servidor.
    void use() const;
    // Clears the record, as on a bank just made.
    void clearRecord() const;
    // Whether the bank was made by this run (false: found whole on the server).
    bool madeNow() const { return m_madeNow; }

private:
    KeptServerBank() = default;
    int m_questions = 0;
    QString m_owner, m_administrator, m_pupils;
    QTemporaryDir m_setting;
    bool m_madeNow = false;
};

// The roles of the bench's bank: names of their own, so that a server that holds a lab's bank
// (with the set-up's usual roles) keeps it as it is.
inline const char *const BenchAdministrator = "BenchAdm";
inline const char *const BenchAdministratorPassword = "1234";
inline const char *const BenchPupils = "jornada_bench_alunos";
inline const char *const BenchPupilsPassword = "jornada";
