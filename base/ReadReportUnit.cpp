#include "base/ReadReportUnit.h"

void TReadReport::Unreadable(const QString& Where, const QString& Field, const QString& Found,
                             const QString& Used) {
    QString Line = QStringLiteral("%1, %2: \"%3\" is not a number").arg(Where, Field, Found);
    if (!Used.isEmpty())
        Line += QStringLiteral("; %1 is used").arg(Used);
    FLines << Line + QLatin1Char('.');
}

QString ElementPlace(int32_t ID, const QString& Caption) {
    return QStringLiteral("Element %1 \"%2\"").arg(ID).arg(Caption);
}
