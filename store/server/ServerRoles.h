#pragma once
// The two roles of a bank on a PostgreSQL server, which take the place of a folder's account
// table and of the trust a folder puts in whoever can open its files:
// - the administrator's role: its name and password are the login screen's "Usuário" and
//   "Senha", checked by the server when the editor connects with them; the editor changes the
//   questions and photos through that connection, and the password change changes the role's
//   password. No pupil's machine holds them.
// - the pupils' role, which the lab's machines connect with (the setting's connection string):
//   it reads the questions and the photos and settles the record through recorde.travar() and
//   recorde.gravar(), and can do nothing else: no table of the bank takes its writes, the
//   administrator's table is closed to it, and the record takes only what a whole game scores.
// Both roles are plain ones (no superuser, no creating roles or databases), and the database
// admits them and nobody else but its owner and the superusers.
#include <QString>

struct pg_conn;

struct ServerRoles {
    QString administrator;
    QString administratorPassword;
    QString pupils;
    QString pupilsPassword;
};

// The pupils' role that a server's set-up makes unless told otherwise. Its password is in the
// setting of every machine of the lab, which every pupil can read: it keeps out those who are not
// in the lab, and the role's rights do the rest.
inline const char *const defaultPupilsRole = "jornada_alunos";
inline const char *const defaultPupilsPassword = "jornada";

// Throws AppError when a name or a password cannot be used: the administrator's login and
// password as a folder's account takes them (1 to 10 and 1 to 7 Windows-1252 characters: the
// login screen's boxes, and the password change's rule), the pupils' role a name the server
// takes, with a password; and two roles of the same name.
void checkRoles(const ServerRoles &roles);

// Makes both roles, refusing (AppError) a role of either name that the server already has:
// an existing role may have rights that the game must not give.
void createRoles(pg_conn *server, const ServerRoles &roles);

// Gives each role its rights on the bank made by ServerSchema.h, in this database, and takes
// every right on the database from PUBLIC.
void grantRoles(pg_conn *server, const ServerRoles &roles);

// Sets the password of role `role` (the password encrypted here, quoting by libpq). Throws
// AppError with the server's reason when the connection's role may not.
void setRolePassword(pg_conn *server, const QString &role, const QString &password);
