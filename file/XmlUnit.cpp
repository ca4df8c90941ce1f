#include "XmlUnit.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

namespace {

const QString EncodingAttr = QStringLiteral("encoding");

// The whitespace of the format: what separates names and attributes and
// what a text must consist of to count as empty.
inline bool IsBlank(char16_t C) {
    return C == u' ' || C == u'\t' || C == u'\r' || C == u'\n';
}

bool IsBlankOnly(QStringView S) {
    for (QChar C : S)
        if (!IsBlank(C.unicode()))
            return false;
    return true;
}

QStringView TrimLeft(QStringView S) {
    qsizetype I = 0;
    while (I < S.size() && IsBlank(S[I].unicode()))
        ++I;
    return S.mid(I);
}

qsizetype FindBlank(QStringView S) {
    for (qsizetype I = 0; I < S.size(); ++I)
        if (IsBlank(S[I].unicode()))
            return I;
    return -1;
}

// The slot of a short string in a small cache of shared strings. Collisions
// only cost a fresh string.
inline size_t CacheSlot(QStringView S) {
    const qsizetype N = S.size();
    if (N == 0)
        return 0;
    const char16_t* D = S.utf16();
    uint32_t H = uint32_t(N) * 0x9E3779B1u;
    H = (H ^ D[0]) * 0x85EBCA6Bu;
    H = (H ^ D[N / 2]) * 0xC2B2AE35u;
    H = (H ^ D[N - 1]) * 0x9E3779B1u;
    if (N > 2)
        H = (H ^ D[N - 2]) * 0x85EBCA6Bu;
    return (H ^ (H >> 16)) & 255;
}

inline bool SameText(const QString& A, QStringView B) {
    const qsizetype N = B.size();
    if (A.size() != N)
        return false;
    const QChar* P = A.constData();
    const QChar* Q = B.data();
    for (qsizetype I = 0; I < N; ++I)
        if (P[I] != Q[I])
            return false;
    return true;
}

// Returns the cached string equal to S, replacing the slot's string if needed.
inline const QString& Cached(QString& Slot, QStringView S) {
    if (!SameText(Slot, S))
        Slot = S.toString();
    return Slot;
}

// A cache slot for texts. Values that come again and again (0, -1, ctNone)
// keep their slot against values seen once (ids, captions).
struct TTextSlot {
    QString Text;
    int Score = 0;
};

inline QString CachedText(TTextSlot& Slot, QStringView S) {
    if (SameText(Slot.Text, S)) {
        Slot.Score = std::min(Slot.Score + 1, 4);
        return Slot.Text;
    }
    if (Slot.Score > 0) {
        --Slot.Score;
        return S.toString();
    }
    Slot.Text = S.toString();
    return Slot.Text;
}

bool IsUtf8Name(const QString& Encoding) {
    return Encoding.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0;
}

// Decodes &lt; &gt; &quot; &apos; and &amp;, nothing else. One pass gives the
// same result as replacing the five in turn: no replacement can form a new
// entity, since every entity starts with "&" and only &amp; yields one, last.
QString Unescape(QStringView S) {
    qsizetype Amp = S.indexOf(u'&');
    if (Amp < 0)
        return S.toString();
    QString R;
    R.reserve(S.size());
    qsizetype Start = 0;
    while (Amp >= 0) {
        R.append(S.mid(Start, Amp - Start));
        const QStringView Rest = S.mid(Amp + 1);
        if (Rest.startsWith(u"lt;")) {
            R.append(u'<');
            Start = Amp + 4;
        } else if (Rest.startsWith(u"gt;")) {
            R.append(u'>');
            Start = Amp + 4;
        } else if (Rest.startsWith(u"quot;")) {
            R.append(u'"');
            Start = Amp + 6;
        } else if (Rest.startsWith(u"apos;")) {
            R.append(u'\'');
            Start = Amp + 6;
        } else if (Rest.startsWith(u"amp;")) {
            R.append(u'&');
            Start = Amp + 5;
        } else {
            R.append(u'&');
            Start = Amp + 1;
        }
        Amp = S.indexOf(u'&', Start);
    }
    R.append(S.mid(Start));
    return R;
}

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

// Decodes chunk by chunk exactly as the whole input would be decoded at once.
// The decoder is used without state: the caller keeps back the bytes that
// begin a character without finishing it and puts them before the next
// chunk. (The decoder's own state handling drops the byte after an invalid
// sequence cut by a chunk end, which would make the text depend on the chunk
// size.) It does not skip a byte-order mark either; the caller does.
class TStreamDecoder : public QStringDecoder {
public:
    explicit TStreamDecoder(QStringConverter::Encoding E)
        : QStringDecoder(E, Flag::Stateless | Flag::ConvertInitialBom), FEncoding(E) {}

    // The bytes at the end of D that begin a character without finishing it.
    qsizetype IncompleteTail(QByteArrayView D) const {
        const qsizetype N = D.size();
        switch (FEncoding) {
        case QStringConverter::Utf8:
            for (qsizetype K = 1; K <= std::min<qsizetype>(3, N); ++K) {
                const uchar B = uchar(D[N - K]);
                if ((B & 0xC0) == 0x80)
                    continue;
                if (B < 0xC0)
                    return 0;
                const qsizetype Length = B >= 0xF0 ? 4 : B >= 0xE0 ? 3 : 2;
                return K < Length ? K : 0;
            }
            return 0;
        case QStringConverter::Utf16:
        case QStringConverter::Utf16LE:
        case QStringConverter::Utf16BE: {
            qsizetype Hold = N % 2;
            if (N - Hold >= 2) {
                const uchar B0 = uchar(D[N - Hold - 2]);
                const uchar B1 = uchar(D[N - Hold - 1]);
                const char16_t Unit = FEncoding == QStringConverter::Utf16BE
                                          ? char16_t((B0 << 8) | B1)
                                          : char16_t((B1 << 8) | B0);
                if (QChar::isHighSurrogate(Unit))
                    Hold += 2;
            }
            return Hold;
        }
        case QStringConverter::Utf32:
        case QStringConverter::Utf32LE:
        case QStringConverter::Utf32BE:
            return N % 4;
        default:
            return 0;
        }
    }

private:
    QStringConverter::Encoding FEncoding;
};

// The decoded text not yet consumed, in one block that is compacted in
// place: once the block is large enough, reading a chunk allocates nothing.
class TTextBuffer {
public:
    qsizetype size() const { return FSize; }
    bool isEmpty() const { return FSize == 0; }
    QStringView View() const { return QStringView(FData.get(), FSize); }
    QStringView Mid(qsizetype From, qsizetype To) const {
        return QStringView(FData.get() + From, To - From);
    }
    char16_t operator[](qsizetype I) const { return FData[I]; }
    const char16_t* Data() const { return FData.get(); }

    // Room for Extra more characters after the end.
    QChar* Reserve(qsizetype Extra) {
        if (FSize + Extra > FCapacity) {
            const qsizetype Capacity = std::max(FCapacity * 2, FSize + Extra);
            std::unique_ptr<char16_t[]> Data(new char16_t[size_t(Capacity)]);
            if (FSize > 0)
                std::memcpy(Data.get(), FData.get(), size_t(FSize) * sizeof(char16_t));
            FData = std::move(Data);
            FCapacity = Capacity;
        }
        return reinterpret_cast<QChar*>(FData.get() + FSize);
    }
    void SetEnd(const QChar* End) { FSize = reinterpret_cast<const char16_t*>(End) - FData.get(); }
    void RemoveFront(qsizetype Count) {
        std::memmove(FData.get(), FData.get() + Count, size_t(FSize - Count) * sizeof(char16_t));
        FSize -= Count;
    }

private:
    std::unique_ptr<char16_t[]> FData;
    qsizetype FSize = 0;
    qsizetype FCapacity = 0;
};

} // namespace

// Fixed-size slots for the nodes a document reads: a file of many thousand
// nodes would otherwise spend much of its reading time in the general heap.
// Every slot, also a heap one, starts with a header naming its pool (none for
// the heap), so that delete finds its way back. Freed slots are reused by the
// next reading into the same document; the blocks go with the document.
struct TXmlNodePool {
    static constexpr size_t HeaderSize = 16;
    static constexpr size_t SlotSize = HeaderSize + (sizeof(TXmlNode) + 15) / 16 * 16;

    void* Allocate() {
        if (FFree) {
            std::byte* Slot = FFree;
            FFree = *reinterpret_cast<std::byte**>(Slot);
            return Claim(Slot);
        }
        if (FNext == FEnd) {
            FBlocks.emplace_back(new std::byte[FBlockSlots * SlotSize]);
            FNext = FBlocks.back().get();
            FEnd = FNext + FBlockSlots * SlotSize;
            FBlockSlots = std::min<size_t>(FBlockSlots * 2, 4096);
        }
        std::byte* Slot = FNext;
        FNext += SlotSize;
        return Claim(Slot);
    }
    void Release(std::byte* Slot) {
        *reinterpret_cast<std::byte**>(Slot) = FFree;
        FFree = Slot;
    }

private:
    void* Claim(std::byte* Slot) {
        *reinterpret_cast<TXmlNodePool**>(Slot) = this;
        return Slot + HeaderSize;
    }

    std::vector<std::unique_ptr<std::byte[]>> FBlocks;
    std::byte* FNext = nullptr;
    std::byte* FEnd = nullptr;
    std::byte* FFree = nullptr;
    size_t FBlockSlots = 64;
};

// Reads from a device or from bytes in memory, BufferSize bytes at a time.
// The decoded text goes into one buffer with a read position; every search
// resumes where the previous look stopped, and consumed text is dropped from
// the front now and then, so the work stays linear in the input whatever the
// chunk size.
class TXmlReader {
public:
    TXmlReader(TXmlDoc& Doc, QIODevice* Device, QByteArrayView Bytes, int BufferSize,
               QString ReadErrorPrefix)
        : FDoc(Doc), FDevice(Device), FBytes(Bytes), FBufferSize(std::max(BufferSize, 128)),
          FReadErrorPrefix(std::move(ReadErrorPrefix)), FEncoding(Doc.Encoding()),
          FPreserve(Doc.Options.Contains(doPreserveWhiteSpace)),
          FParsePI(Doc.Options.Contains(doParseProcessingInstr)) {}

    void Run();

private:
    bool ReadChunk();
    void Decode(QByteArrayView Part);
    void ChooseDecoder(QByteArrayView First);
    bool Ensure(qsizetype Count);
    bool NextIs(QStringView S);
    qsizetype FindChar(char16_t C);
    qsizetype FindEither(char16_t A, char16_t B);
    qsizetype FindString(QStringView S);
    QString TakeUntil(QStringView Stop);
    void Compact();
    void ReadTag();
    void ReadInstruction();
    void ReadDocType();
    TXmlNode* Append(QStringView Name, TXmlNodeType Type);
    void ParseAttributes(TXmlNode* Node, QStringView S);
    const QString& Intern(QStringView Name);
    QString TextOf(QStringView Escaped);

    TXmlDoc& FDoc;
    QIODevice* FDevice;
    QByteArrayView FBytes;
    qsizetype FBytesPos = 0;
    int FBufferSize;
    QString FReadErrorPrefix;
    QString FEncoding;
    bool FPreserve;
    bool FParsePI;

    QByteArray FChunk;
    QByteArray FCarry;
    bool FAtStart = true;
    std::optional<TStreamDecoder> FDecoder;
    bool FExhausted = false;
    TTextBuffer FBuf;
    qsizetype FPos = 0;
    TXmlNode* FParent = nullptr;
    // Names repeat all through a file; sharing one string per name saves an
    // allocation per node.
    QString FNames[256];
    const QString FNoName;
    TTextSlot FTexts[256];
};

void TXmlReader::ChooseDecoder(QByteArrayView First) {
    QStringConverter::Encoding E = QStringConverter::Utf8;
    if (!FEncoding.isEmpty()) {
        if (!IsUtf8Name(FEncoding))
            E = QStringConverter::Latin1;
    } else if (auto ByMark = QStringConverter::encodingForData(First)) {
        E = *ByMark;
    }
    // The decoders skip a leading byte-order mark of their own encoding.
    FDecoder.emplace(E);
}

bool TXmlReader::ReadChunk() {
    if (FExhausted)
        return false;
    QByteArrayView Part;
    if (FDevice) {
        FChunk.resize(FBufferSize);
        const qint64 N = FDevice->read(FChunk.data(), FBufferSize);
        if (N < 0)
            throw ECorvinalError(FReadErrorPrefix + FDevice->errorString());
        Part = QByteArrayView(FChunk.constData(), qsizetype(N));
    } else {
        const qsizetype N = std::min<qsizetype>(FBufferSize, FBytes.size() - FBytesPos);
        Part = QByteArrayView(FBytes.data() + FBytesPos, N);
        FBytesPos += N;
    }
    if (!FDecoder)
        ChooseDecoder(Part);
    if (Part.isEmpty()) {
        FExhausted = true;
        // A character cut off by the end of the input.
        Decode(FCarry);
        FCarry.clear();
        return false;
    }
    if (!FCarry.isEmpty()) {
        FCarry.append(Part);
        Part = FCarry;
    }
    const qsizetype Hold = FDecoder->IncompleteTail(Part);
    Decode(Part.first(Part.size() - Hold));
    FCarry = Part.last(Hold).toByteArray();
    return true;
}

void TXmlReader::Decode(QByteArrayView Part) {
    if (Part.isEmpty())
        return;
    QChar* Start = FBuf.Reserve(FDecoder->requiredSpace(Part.size()));
    FBuf.SetEnd(FDecoder->appendToBuffer(Start, Part));
    if (FAtStart && !FBuf.isEmpty()) {
        FAtStart = false;
        if (FBuf[0] == QChar::ByteOrderMark)
            FBuf.RemoveFront(1);
    }
}

bool TXmlReader::Ensure(qsizetype Count) {
    while (FBuf.size() - FPos < Count)
        if (!ReadChunk())
            return FBuf.size() - FPos >= Count;
    return true;
}

bool TXmlReader::NextIs(QStringView S) {
    Ensure(S.size());
    return FBuf.View().mid(FPos).startsWith(S);
}

// Index of the next C at or after FPos, reading on as needed; -1 when the
// input holds none (the buffer then holds the rest of the input).
qsizetype TXmlReader::FindChar(char16_t C) {
    qsizetype From = FPos;
    for (;;) {
        // Most stops are a few characters away: a plain loop beats a call.
        const char16_t* D = FBuf.Data();
        const qsizetype Size = FBuf.size();
        qsizetype I = From;
        const qsizetype Near = std::min(Size, From + 32);
        while (I < Near && D[I] != C)
            ++I;
        if (I < Near)
            return I;
        if (I < Size) {
            I = FBuf.View().indexOf(QChar(C), I);
            if (I >= 0)
                return I;
        }
        From = FBuf.size();
        if (!ReadChunk() && From == FBuf.size())
            return -1;
    }
}

qsizetype TXmlReader::FindEither(char16_t A, char16_t B) {
    qsizetype From = FPos;
    for (;;) {
        const char16_t* D = FBuf.Data();
        for (qsizetype I = From; I < FBuf.size(); ++I)
            if (D[I] == A || D[I] == B)
                return I;
        From = FBuf.size();
        if (!ReadChunk() && From == FBuf.size())
            return -1;
    }
}

qsizetype TXmlReader::FindString(QStringView S) {
    qsizetype From = FPos;
    for (;;) {
        const qsizetype I = FBuf.View().indexOf(S, From);
        if (I >= 0)
            return I;
        // A match may straddle the old end of the buffer.
        From = std::max(FPos, FBuf.size() - S.size() + 1);
        const qsizetype Old = FBuf.size();
        if (!ReadChunk() && Old == FBuf.size())
            return -1;
    }
}

// The text up to Stop, which is consumed; all the rest when there is no Stop.
QString TXmlReader::TakeUntil(QStringView Stop) {
    const qsizetype I = FindString(Stop);
    const qsizetype End = I < 0 ? FBuf.size() : I;
    QString R = FBuf.Mid(FPos, End).toString();
    FPos = I < 0 ? End : I + Stop.size();
    return R;
}

void TXmlReader::Compact() {
    if (FPos >= 65536 && FPos * 2 >= FBuf.size()) {
        FBuf.RemoveFront(FPos);
        FPos = 0;
    }
}

const QString& TXmlReader::Intern(QStringView Name) {
    if (Name.isEmpty())
        return FNoName;
    return Cached(FNames[CacheSlot(Name)], Name);
}

// Unescaped; short texts such as numbers and enumeration words repeat often
// and share one string.
QString TXmlReader::TextOf(QStringView Escaped) {
    if (Escaped.size() > 16)
        return Unescape(Escaped);
    for (QChar C : Escaped)
        if (C == u'&')
            return Unescape(Escaped);
    return CachedText(FTexts[CacheSlot(Escaped)], Escaped);
}

TXmlNode* TXmlReader::Append(QStringView Name, TXmlNodeType Type) {
    if (!FDoc.FPool)
        FDoc.FPool = std::make_unique<TXmlNodePool>();
    std::unique_ptr<TXmlNode> Node(new (*FDoc.FPool) TXmlNode(&FDoc, Intern(Name), Type));
    // Parents in a pathway file have some ten children: one allocation for
    // the list instead of a few growing ones.
    std::vector<TXmlNode*>& Siblings = FParent->ChildNodes.FItems;
    if (Siblings.capacity() == 0)
        Siblings.reserve(16);
    FParent->ChildNodes.Add(Node.get());
    return Node.release();
}

void TXmlReader::ParseAttributes(TXmlNode* Node, QStringView S) {
    S = TrimLeft(S);
    while (!S.isEmpty()) {
        qsizetype I = 0;
        while (I < S.size() && !IsBlank(S[I].unicode()) && S[I] != u'=')
            ++I;
        TXmlAttribute* A = Node->AttributeList.Add(Intern(S.left(I)));
        S = TrimLeft(S.mid(I));
        if (!S.startsWith(u'='))
            continue;
        S = S.mid(1);
        A->SetValue(QString());
        qsizetype Q = 0;
        while (Q < S.size() && S[Q] != u'"' && S[Q] != u'\'')
            ++Q;
        S = S.mid(Q);
        if (S.isEmpty())
            continue;
        const QChar Quote = S[0];
        S = S.mid(1);
        const qsizetype End = S.indexOf(Quote);
        A->SetValue(TextOf(End < 0 ? S : S.left(End)));
        S = End < 0 ? QStringView() : TrimLeft(S.mid(End + 1));
    }
}

void TXmlReader::ReadTag() {
    const qsizetype Gt = FindChar(u'>');
    const qsizetype End = Gt < 0 ? FBuf.size() : Gt;
    QStringView T = FBuf.Mid(FPos, End);
    FPos = Gt < 0 ? End : Gt + 1;
    if (T.startsWith(u'/')) {
        // End tags are not matched against their start tag.
        FParent = FParent->Parent;
        return;
    }
    const bool Empty = T.endsWith(u'/');
    if (Empty)
        T.chop(1);
    const qsizetype Blank = FindBlank(T);
    TXmlNode* Node = Append(Blank < 0 ? T : T.left(Blank), ntElement);
    if (Blank >= 0)
        ParseAttributes(Node, T.mid(Blank + 1));
    if (Empty)
        return;
    FParent = Node;
    // The element's own text, up to (not including) the next "<".
    const qsizetype Lt = FindChar(u'<');
    const qsizetype TextEnd = Lt < 0 ? FBuf.size() : Lt;
    const QStringView Text = FBuf.Mid(FPos, TextEnd);
    FPos = TextEnd;
    if (!Text.isEmpty() && (FPreserve || !IsBlankOnly(Text)))
        Node->Text = TextOf(Text);
    // An end tag right after the text, the usual case, is taken here at once;
    // the main loop would do the same in more steps.
    if (Ensure(2) && FBuf[FPos + 1] == u'/') {
        FPos += 2;
        const qsizetype EndGt = FindChar(u'>');
        FPos = EndGt < 0 ? FBuf.size() : EndGt + 1;
        FParent = FParent->Parent;
    }
}

void TXmlReader::ReadInstruction() {
    const QString T = TakeUntil(u"?>");
    const qsizetype Blank = FindBlank(T);
    const QStringView Name = Blank < 0 ? QStringView(T) : QStringView(T).left(Blank);
    const bool IsDecl = Name.compare(u"xml", Qt::CaseInsensitive) == 0;
    TXmlNode* Node = Append(Name, IsDecl ? ntXmlDecl : ntProcessingInstr);
    if (IsDecl || FParsePI) {
        if (Blank >= 0)
            ParseAttributes(Node, QStringView(T).mid(Blank + 1));
    } else {
        Node->Text = T;
    }
    if (IsDecl)
        FDoc.FHeader = Node;
}

void TXmlReader::ReadDocType() {
    // The writer puts one blank after the keyword; taking it off again keeps
    // a DOCTYPE from growing by a blank on every save and load.
    if (Ensure(1) && IsBlank(FBuf[FPos]))
        ++FPos;
    const qsizetype Stop = FindEither(u'>', u'[');
    const qsizetype End = Stop < 0 ? FBuf.size() : Stop;
    QString Text = FBuf.Mid(FPos, End).toString();
    FPos = Stop < 0 ? End : Stop + 1;
    if (Stop >= 0 && FBuf[Stop] == u'[') {
        Text += u'[';
        Text += TakeUntil(u"]");
        Text += u']';
        Text += TakeUntil(u">");
    }
    Append(QStringView(), ntDocType)->Text = Text;
}

void TXmlReader::Run() {
    FDoc.Clear();
    FParent = FDoc.Root.get();
    for (;;) {
        Compact();
        // Text outside any tag.
        const qsizetype Lt = FindChar(u'<');
        const qsizetype End = Lt < 0 ? FBuf.size() : Lt;
        if (End > FPos) {
            const QStringView Text = FBuf.Mid(FPos, End);
            if (FPreserve || !IsBlankOnly(Text))
                Append(QStringView(), ntText)->Text = Text.toString();
        }
        if (Lt < 0)
            break;
        FPos = Lt + 1;
        if (!Ensure(1))
            break;
        const char16_t C = FBuf[FPos];
        if (C == u'!') {
            if (NextIs(u"!--")) {
                FPos += 3;
                Append(QStringView(), ntComment)->Text = TakeUntil(u"-->");
            } else if (NextIs(u"!DOCTYPE")) {
                FPos += 8;
                ReadDocType();
            } else if (NextIs(u"![CDATA[")) {
                FPos += 8;
                Append(QStringView(), ntCData)->Text = TakeUntil(u"]]>");
            } else {
                ReadTag();
            }
        } else if (C == u'?') {
            ++FPos;
            ReadInstruction();
        } else {
            ReadTag();
        }
    }
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

// ---------------------------------------------------------------------------

TXmlAttribute* TXmlAttributeList::Find(const QString& Name) const {
    for (const auto& A : FItems)
        if (Document ? Document->SameName(A->Name, Name) : A->Name == Name)
            return A.get();
    return nullptr;
}

TXmlAttribute* TXmlAttributeList::Add(const QString& Name) {
    FItems.push_back(std::make_unique<TXmlAttribute>(Name));
    return FItems.back().get();
}

// ---------------------------------------------------------------------------

TXmlNodeList::TXmlNodeList(TXmlDoc* ADocument, TXmlNode* AParent, bool AOwnsNodes)
    : Document(ADocument), Parent(AParent), FOwnsNodes(AOwnsNodes) {}

TXmlNodeList::~TXmlNodeList() {
    Clear();
}

void TXmlNodeList::DestroyNodes(std::vector<TXmlNode*>& Work) {
    while (!Work.empty()) {
        TXmlNode* N = Work.back();
        Work.pop_back();
        if (TXmlDoc* D = N->Document()) {
            if (D->FHeader == N)
                D->FHeader = nullptr;
            if (D->FDocumentElement == N)
                D->FDocumentElement = nullptr;
        }
        std::vector<TXmlNode*>& Children = N->ChildNodes.FItems;
        Work.insert(Work.end(), Children.begin(), Children.end());
        Children.clear();
        delete N;
    }
}

void TXmlNodeList::Clear() {
    if (!FOwnsNodes || FItems.empty()) {
        FItems.clear();
        return;
    }
    std::vector<TXmlNode*> Work;
    Work.swap(FItems);
    DestroyNodes(Work);
}

TXmlNode* TXmlNodeList::Find(const QString& Name, TXmlNodeTypes NodeTypes) const {
    for (TXmlNode* N : FItems)
        if (NodeTypes.Passes(N->NodeType) &&
            (Document ? Document->SameName(N->Name, Name) : N->Name == Name))
            return N;
    return nullptr;
}

std::unique_ptr<TXmlNodeList> TXmlNodeList::FindNodes(const QString& Name,
                                                      TXmlNodeTypes NodeTypes) const {
    auto Result = std::make_unique<TXmlNodeList>(Document, Parent, false);
    for (TXmlNode* N : FItems)
        if (NodeTypes.Passes(N->NodeType) &&
            (Document ? Document->SameName(N->Name, Name) : N->Name == Name))
            Result->FItems.push_back(N);
    return Result;
}

bool TXmlNodeList::HasNode(const QString& Name, TXmlNodeTypes NodeTypes) const {
    return Find(Name, NodeTypes) != nullptr;
}

void TXmlNodeList::Add(TXmlNode* Value) {
    Insert(Count(), Value);
}

void TXmlNodeList::Insert(int Index, TXmlNode* Value) {
    // On failure the node stays with the caller.
    if (Index < 0 || Index > Count())
        RaiseListIndexError(Index);
    if (FItems.capacity() == 0)
        FItems.reserve(4);
    FItems.insert(FItems.begin() + Index, Value);
    if (!FOwnsNodes)
        return;
    Value->Parent = Parent;
    if (Document && Parent == Document->Root.get() && Value->NodeType == ntElement &&
        !Document->FDocumentElement)
        Document->FDocumentElement = Value;
}

// ---------------------------------------------------------------------------

void* TXmlNode::operator new(size_t Size) {
    auto* Slot = static_cast<std::byte*>(::operator new(TXmlNodePool::HeaderSize + Size));
    *reinterpret_cast<TXmlNodePool**>(Slot) = nullptr;
    return Slot + TXmlNodePool::HeaderSize;
}

void* TXmlNode::operator new(size_t Size, TXmlNodePool& Pool) {
    if (Size + TXmlNodePool::HeaderSize > TXmlNodePool::SlotSize)
        return operator new(Size);
    return Pool.Allocate();
}

void TXmlNode::operator delete(void* Node) {
    if (!Node)
        return;
    std::byte* Slot = static_cast<std::byte*>(Node) - TXmlNodePool::HeaderSize;
    if (TXmlNodePool* Pool = *reinterpret_cast<TXmlNodePool**>(Slot))
        Pool->Release(Slot);
    else
        ::operator delete(Slot);
}

void TXmlNode::operator delete(void* Node, TXmlNodePool&) {
    operator delete(Node);
}

TXmlNode::TXmlNode(TXmlDoc* ADocument, const QString& AName, TXmlNodeType ANodeType)
    : AttributeList(ADocument), ChildNodes(ADocument, this, true), Name(AName), NodeType(ANodeType),
      FDocument(ADocument) {}

TXmlNode::~TXmlNode() {
    ChildNodes.Clear();
}

TXmlNode* TXmlNode::AddChild(const QString& AName, TXmlNodeType ANodeType) {
    auto N = std::make_unique<TXmlNode>(FDocument, AName, ANodeType);
    ChildNodes.Add(N.get());
    return N.release();
}

QString TXmlNode::GetAttribute(const QString& AttrName) const {
    const TXmlAttribute* A = AttributeList.Find(AttrName);
    return A ? A->Value() : QString();
}

TXmlNode* TXmlNode::SetAttribute(const QString& AttrName, const QString& AttrValue) {
    TXmlAttribute* A = AttributeList.Find(AttrName);
    if (!A)
        A = AttributeList.Add(AttrName);
    A->SetValue(AttrValue);
    return this;
}

bool TXmlNode::HasAttribute(const QString& AttrName) const {
    return AttributeList.Find(AttrName) != nullptr;
}

TXmlNode* TXmlNode::Find(const QString& AName, TXmlNodeTypes NodeTypes) const {
    return ChildNodes.Find(AName, NodeTypes);
}

std::unique_ptr<TXmlNodeList> TXmlNode::FindNodes(const QString& AName,
                                                  TXmlNodeTypes NodeTypes) const {
    return ChildNodes.FindNodes(AName, NodeTypes);
}

bool TXmlNode::HasChild(const QString& AName, TXmlNodeTypes NodeTypes) const {
    return Find(AName, NodeTypes) != nullptr;
}

// ---------------------------------------------------------------------------

TXmlDoc::TXmlDoc()
    : Root(std::make_unique<TXmlNode>(this, QString(), ntDocument)),
      NodeIndentStr(QStringLiteral("  ")),
      LineBreak(QStringLiteral("\r\n")), Options{doNodeAutoIndent, doWriteBOM} {
    Root->Parent = Root.get();
    auto Owned = std::make_unique<TXmlNode>(this, QStringLiteral("xml"), ntXmlDecl);
    Root->ChildNodes.Insert(0, Owned.get());
    TXmlNode* Decl = Owned.release();
    Decl->SetAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    Decl->SetAttribute(EncodingAttr, QStringLiteral("utf-8"));
    FHeader = Decl;
}

TXmlDoc::~TXmlDoc() {
    Clear();
    Root.reset();
}

TXmlNode* TXmlDoc::AddChild(const QString& Name, TXmlNodeType NodeType) {
    return Root->AddChild(Name, NodeType);
}

void TXmlDoc::Clear() {
    Root->ChildNodes.Clear();
    FHeader = nullptr;
    FDocumentElement = nullptr;
}

QString TXmlDoc::Encoding() const {
    return FHeader ? FHeader->GetAttribute(EncodingAttr) : QString();
}

bool TXmlDoc::SameName(const QString& A, const QString& B) const {
    return Options.Contains(doCaseInsensitive) ? A.compare(B, Qt::CaseInsensitive) == 0 : A == B;
}

void TXmlDoc::LoadFromFile(const QString& FileName, int BufferSize) {
    QFile F(FileName);
    if (!F.open(QIODevice::ReadOnly))
        throw ECorvinalError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, F.errorString()));
    TXmlReader(*this, &F, {}, BufferSize, QStringLiteral("Cannot read file \"%1\". ").arg(FileName))
        .Run();
}

void TXmlDoc::SaveToFile(const QString& FileName) {
    // The old file is replaced only once the new one is complete.
    QSaveFile F(FileName);
    const auto Fail = [&]() {
        throw ECorvinalError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, F.errorString()));
    };
    if (!F.open(QIODevice::WriteOnly))
        Fail();
    if (!TXmlWriter(*this, &F).Run()) {
        const QString Reason = F.errorString();
        F.cancelWriting();
        throw ECorvinalError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Reason));
    }
    if (!F.commit())
        Fail();
}

void TXmlDoc::LoadFromStream(QIODevice& Stream, int BufferSize) {
    TXmlReader(*this, &Stream, {}, BufferSize, QStringLiteral("Cannot read stream. ")).Run();
}

void TXmlDoc::SaveToStream(QIODevice& Stream) {
    if (!TXmlWriter(*this, &Stream).Run())
        throw ECorvinalError(QStringLiteral("Cannot write stream. ") + Stream.errorString());
}

QByteArray TXmlDoc::SaveToBytes() {
    TXmlWriter W(*this, nullptr);
    W.Run();
    return std::move(W.Bytes());
}

void TXmlDoc::LoadFromBytes(const QByteArray& Bytes, int BufferSize) {
    TXmlReader(*this, nullptr, Bytes, BufferSize, QString()).Run();
}
