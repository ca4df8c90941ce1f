#pragma once

// The lenient reader of the XML layer: it never reports a syntax error, and
// its work stays linear in the input whatever the read buffer's size.

#include <QByteArrayView>
#include <QString>

class QIODevice;
class TXmlDoc;

// Replaces what Doc holds with what is read from Device, or from Bytes when
// there is no device, BufferSize bytes at a time. A device that fails to
// read raises ReadErrorPrefix followed by the device's reason.
void ReadXmlDocument(TXmlDoc& Doc, QIODevice* Device, QByteArrayView Bytes, int BufferSize,
                     const QString& ReadErrorPrefix);
