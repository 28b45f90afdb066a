#include "store/core/BankLocation.h"

BankLocation::BankLocation(const QString &folder) : m_kind(Kind::Folder), m_text(folder) {}

BankLocation BankLocation::folder(const QString &path) { return BankLocation(Kind::Folder, path); }

BankLocation BankLocation::server(const QString &connection) { return BankLocation(Kind::Server, connection); }
