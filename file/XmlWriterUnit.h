#pragma once

// The writer of the XML layer's one fixed text layout.

#include <QByteArray>

class QIODevice;
class TXmlDoc;

// Writes Doc to Device; without a device the bytes go to Bytes. False when
// the device refused bytes.
bool WriteXmlDocument(TXmlDoc& Doc, QIODevice* Device, QByteArray* Bytes = nullptr);
