#include "file/XmlWriterUnit.h"

#include "file/XmlUnit.h"

#include <QIODevice>
#include <QStringEncoder>
#include <optional>
#include <vector>

namespace {

// Replacing "&" first and then the others, each everywhere, is the same as
// one pass, since no replacement text holds a character replaced later.
void AppendEscaped(QString& Out, QStringView S, bool Apostrophe) {
    qsizetype Start = 0;
    for (qsizetype I = 0; I < S.size(); ++I) {
        const char16_t C = S[I].unicode();
        const char16_t* Entity = nullptr;
        switch (C) {
        case u'&':
            Entity = u"&amp;";
            break;
        case u'<':
            Entity = u"&lt;";
            break;
        case u'>':
            Entity = u"&gt;";
            break;
        case u'"':
            Entity = u"&quot;";
            break;
        case u'\'':
            if (Apostrophe)
                Entity = u"&apos;";
            break;
        default:
            break;
        }
        if (Entity) {
            Out.append(S.mid(Start, I - Start));
            Out.append(QStringView(Entity));
            Start = I + 1;
        }
    }
    Out.append(S.mid(Start));
}

// Writes the fixed layout without recursing on depth: an explicit stack of
// open elements, and one indentation string grown and shrunk in place.
class TXmlWriter {
public:
    TXmlWriter(TXmlDoc& Doc, QIODevice* Device) : FDoc(Doc), FDevice(Device) {}
    // False when the device refused bytes; the bytes written when there is no
    // device.
    bool Run();
    QByteArray& Bytes() { return FOut; }

private:
    struct TFrame {
        const TXmlNode* Node;
        int Next;
    };
    void Opening(bool First, QStringView Prefix);
    bool Open(const TXmlNode* N, bool First, QStringView Prefix);
    void Close(const TXmlNode* N, QStringView Prefix);
    void Attributes(const TXmlNode* N);
    bool Flush();

    TXmlDoc& FDoc;
    QIODevice* FDevice;
    std::optional<QStringEncoder> FEncoder;
    QString FText;
    QByteArray FOut;
};

bool TXmlWriter::Flush() {
    const qsizetype Old = FOut.size();
    FOut.resize(Old + FEncoder->requiredSpace(FText.size()));
    char* End = FEncoder->appendToBuffer(FOut.data() + Old, FText);
    FOut.resize(End - FOut.constData());
    FText.resize(0);
    if (!FDevice)
        return true;
    // A short write is retried, so that a failure comes with its reason.
    const char* P = FOut.constData();
    qsizetype Left = FOut.size();
    while (Left > 0) {
        const qint64 N = FDevice->write(P, Left);
        if (N <= 0)
            return false;
        P += N;
        Left -= qsizetype(N);
    }
    FOut.resize(0);
    return true;
}

void TXmlWriter::Opening(bool First, QStringView Prefix) {
    if (First || FDoc.SkipIndent) {
        FText += u'<';
        FDoc.SkipIndent = false;
    } else {
        FText += FDoc.LineBreak;
        FText += Prefix;
        FText += u'<';
    }
}

void TXmlWriter::Attributes(const TXmlNode* N) {
    const TXmlAttributeList& L = N->AttributeList;
    for (int I = 0; I < L.Count(); ++I) {
        const TXmlAttribute* A = L.Get(I);
        FText += u' ';
        FText += A->Name;
        if (A->AttributeType == atValue) {
            FText += u"=\"";
            AppendEscaped(FText, A->Value(), false);
            FText += u'"';
        }
    }
}

// Writes the node up to its children; true when it has children to write.
bool TXmlWriter::Open(const TXmlNode* N, bool First, QStringView Prefix) {
    switch (N->NodeType) {
    case ntXmlDecl:
    case ntProcessingInstr:
        Opening(First, Prefix);
        FText += u'?';
        if (N->NodeType == ntXmlDecl || N->AttributeList.Count() > 0) {
            FText += N->Name;
            Attributes(N);
        } else {
            FText += N->Text;
        }
        FText += u"?>";
        return false;
    case ntComment:
        Opening(First, Prefix);
        FText += u"!--";
        FText += N->Text;
        FText += u"-->";
        return false;
    case ntDocType:
        Opening(First, Prefix);
        FText += u"!DOCTYPE ";
        FText += N->Text;
        FText += u'>';
        return false;
    case ntCData:
        // Written in place, without line break or indentation.
        FDoc.SkipIndent = false;
        FText += u"<![CDATA[";
        FText += N->Text;
        FText += u"]]>";
        return false;
    case ntText:
        FDoc.SkipIndent = false;
        FText += N->Text;
        FDoc.SkipIndent = true;
        return false;
    case ntElement:
    case ntDocument:
        break;
    }
    Opening(First, Prefix);
    FText += N->Name;
    Attributes(N);
    const bool HasChildren = N->HasChildNodes();
    if (N->Text.isEmpty() && !HasChildren) {
        FText += u"/>";
        return false;
    }
    FText += u'>';
    if (!N->Text.isEmpty()) {
        AppendEscaped(FText, N->Text, true);
        if (HasChildren)
            FDoc.SkipIndent = true;
    }
    if (!HasChildren) {
        FText += u"</";
        FText += N->Name;
        FText += u'>';
    }
    return HasChildren;
}

void TXmlWriter::Close(const TXmlNode* N, QStringView Prefix) {
    if (!FDoc.SkipIndent) {
        FText += FDoc.LineBreak;
        FText += Prefix;
    }
    FText += u"</";
    FText += N->Name;
    FText += u'>';
}

bool TXmlWriter::Run() {
    const bool Utf8 = IsUtf8Name(FDoc.Encoding());
    FEncoder.emplace(Utf8 ? QStringConverter::Utf8 : QStringConverter::Latin1);
    if (Utf8 && FDoc.Options.Contains(doWriteBOM))
        FOut.append("\xEF\xBB\xBF");
    const bool Compact = FDoc.Options.Contains(doCompact);
    if (Compact)
        FDoc.LineBreak.clear();
    const QString Indent = Compact ? QString() : FDoc.NodeIndentStr;
    FDoc.SkipIndent = false;

    const TXmlNodeList& Top = FDoc.ChildNodes();
    std::vector<TFrame> Stack;
    QString Prefix;
    for (int I = 0; I < Top.Count(); ++I) {
        const TXmlNode* N = Top.Get(I);
        if (Open(N, I == 0, Prefix)) {
            Stack.push_back({N, 0});
            Prefix += Indent;
        }
        while (!Stack.empty()) {
            TFrame& F = Stack.back();
            if (F.Next < F.Node->ChildNodes.Count()) {
                const TXmlNode* Child = F.Node->ChildNodes.Get(F.Next++);
                if (Open(Child, false, Prefix)) {
                    Stack.push_back({Child, 0});
                    Prefix += Indent;
                }
            } else {
                Prefix.chop(Indent.size());
                Close(F.Node, Prefix);
                Stack.pop_back();
            }
            if (FText.size() >= 32768 && !Flush())
                return false;
        }
        if (FText.size() >= 32768 && !Flush())
            return false;
    }
    return Flush();
}

} // namespace

bool WriteXmlDocument(TXmlDoc& Doc, QIODevice* Device, QByteArray* Bytes) {
    TXmlWriter W(Doc, Device);
    const bool Written = W.Run();
    if (Bytes)
        *Bytes = std::move(W.Bytes());
    return Written;
}
