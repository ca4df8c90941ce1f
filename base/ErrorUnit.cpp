#include "base/ErrorUnit.h"

ECorvinalError::ECorvinalError(const QString& Message)
    : std::runtime_error(Message.toUtf8().toStdString()) {}

QString ECorvinalError::Message() const {
    return QString::fromUtf8(what());
}

void RaiseListIndexError(int Index) {
    throw ECorvinalError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

QString ErrorText(const std::exception& E) {
    if (dynamic_cast<const std::bad_alloc*>(&E))
        return QStringLiteral("Out of memory");
    return QString::fromUtf8(E.what());
}
