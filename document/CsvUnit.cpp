#include "document/CsvUnit.h"

#include "base/ErrorUnit.h"

#include <QDir>
#include <QSaveFile>

QString CsvField(const QString& Text) {
    const bool Quote = Text.contains(QLatin1Char(',')) || Text.contains(QLatin1Char('"')) ||
                       Text.contains(QLatin1Char('\n')) || Text.contains(QLatin1Char('\r')) ||
                       (!Text.isEmpty() && (Text.front().isSpace() || Text.back().isSpace()));
    if (!Quote)
        return Text;
    QString Quoted = Text;
    Quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + Quoted + QLatin1Char('"');
}

TCsvWriter::TCsvWriter() : FBytes("\xEF\xBB\xBF") {}

void TCsvWriter::Record(const QStringList& Fields) {
    QString Line;
    for (qsizetype I = 0; I < Fields.size(); ++I) {
        if (I > 0)
            Line += QLatin1Char(',');
        Line += CsvField(Fields[I]);
    }
    Line += QLatin1String("\r\n");
    FBytes += Line.toUtf8();
}

namespace {

// Worded as the image export words its failures.
[[noreturn]] void RaiseWriteError(const QString& FileName, const QString& Reason) {
    throw ECorvinalError(
        QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(FileName), Reason));
}

} // namespace

void SaveCsvFile(const QString& FileName, const QByteArray& Bytes) {
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        RaiseWriteError(FileName, File.errorString());
    if (File.write(Bytes) != Bytes.size())
        RaiseWriteError(FileName, File.errorString());
    if (!File.commit())
        RaiseWriteError(FileName, File.errorString());
}
