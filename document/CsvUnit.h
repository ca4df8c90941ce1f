#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The tables Corvinal writes for spreadsheets (RFC 4180): UTF-8 with a
// byte-order mark, so that spreadsheet programs take it as UTF-8, CRLF after
// every record, commas between fields.

// A field, quoted where it holds a comma, a quote, a line break or blanks
// at either end (which spreadsheet programs tend to trim).
QString CsvField(const QString& Text);

// Builds a CSV text record by record.
class TCsvWriter {
public:
    TCsvWriter();
    void Record(const QStringList& Fields);
    const QByteArray& Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
};

// Writes Bytes to FileName as the image export writes its files: the file
// is replaced only when everything has been written, so an error leaves
// neither a partial file nor a changed earlier one. Fails with "Cannot write
// <file>: <reason>".
void SaveCsvFile(const QString& FileName, const QByteArray& Bytes);
