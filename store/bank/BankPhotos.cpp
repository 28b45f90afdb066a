#include "store/bank/BankPhotos.h"

#include <QFileInfo>

BankPhotos::~BankPhotos() = default;

QString photoExtension(const QString &foto) { return QFileInfo(foto).suffix().toLower(); }
