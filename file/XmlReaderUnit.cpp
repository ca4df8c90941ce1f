#include "file/XmlReaderUnit.h"

#include "file/XmlPoolUnit.h"
#include "file/XmlUnit.h"

#include <QIODevice>
#include <QStringConverter>
#include <QStringDecoder>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

// The whitespace of the format: what separates names and attributes and
// what a text must consist of to count as empty.
inline bool IsBlank(char16_t C) {
    return C == u' ' || C == u'\t' || C == u'\r' || C == u'\n';
}

bool IsBlankOnlyFrom(QStringView S) {
    const char16_t* P = S.utf16();
    const char16_t* End = P + S.size();
#if defined(__SSE2__)
    // The indentation between tags, eight characters at a time.
    const __m128i Space = _mm_set1_epi16(u' ');
    const __m128i Tab = _mm_set1_epi16(u'\t');
    const __m128i Cr = _mm_set1_epi16(u'\r');
    const __m128i Lf = _mm_set1_epi16(u'\n');
    for (; End - P >= 8; P += 8) {
        const __m128i Chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
        const __m128i Blanks =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(Chars, Space), _mm_cmpeq_epi16(Chars, Tab)),
                         _mm_or_si128(_mm_cmpeq_epi16(Chars, Cr), _mm_cmpeq_epi16(Chars, Lf)));
        if (_mm_movemask_epi8(Blanks) != 0xFFFF)
            return false;
    }
#endif
    for (; P < End; ++P)
        if (!IsBlank(*P))
            return false;
    return true;
}

// Most texts start with what is no blank.
inline bool IsBlankOnly(QStringView S) {
    return S.isEmpty() || (IsBlank(S[0].unicode()) && IsBlankOnlyFrom(S));
}

QStringView TrimLeft(QStringView S) {
    qsizetype I = 0;
    while (I < S.size() && IsBlank(S[I].unicode()))
        ++I;
    return S.mid(I);
}

// The first C in [P, End), or End. Most stops are a few characters away, and
// eight characters at a time beat both a plain loop and a call.
inline const char16_t* ScanFor(const char16_t* P, const char16_t* End, char16_t C) {
#if defined(__SSE2__)
    const __m128i Needle = _mm_set1_epi16(short(C));
    for (; End - P >= 8; P += 8) {
        const __m128i Chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
        const int Mask = _mm_movemask_epi8(_mm_cmpeq_epi16(Chars, Needle));
        if (Mask != 0)
            return P + (__builtin_ctz(unsigned(Mask)) >> 1);
    }
#endif
    while (P < End && *P != C)
        ++P;
    return P;
}

// The first blank in [P, End), or End.
inline const char16_t* ScanForBlank(const char16_t* P, const char16_t* End) {
#if defined(__SSE2__)
    // Every blank is at most a space: look closer only where such a
    // character stands.
    const __m128i Space = _mm_set1_epi16(u' ');
    const __m128i Zero = _mm_setzero_si128();
    while (End - P >= 8) {
        const __m128i Chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
        int Mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(Chars, Space), Zero));
        while (Mask != 0) {
            const char16_t* Q = P + (__builtin_ctz(unsigned(Mask)) >> 1);
            if (IsBlank(*Q))
                return Q;
            Mask &= Mask - 1;
            Mask &= Mask - 1;
        }
        P += 8;
    }
#endif
    while (P < End && !IsBlank(*P))
        ++P;
    return P;
}

// The first '>' or blank in [P, End), or End: where a tag or its name ends.
inline const char16_t* ScanForTagStop(const char16_t* P, const char16_t* End) {
#if defined(__SSE2__)
    const __m128i Gt = _mm_set1_epi16(u'>');
    const __m128i Space = _mm_set1_epi16(u' ');
    const __m128i Zero = _mm_setzero_si128();
    while (End - P >= 8) {
        const __m128i Chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
        int Mask = _mm_movemask_epi8(_mm_or_si128(
            _mm_cmpeq_epi16(Chars, Gt), _mm_cmpeq_epi16(_mm_subs_epu16(Chars, Space), Zero)));
        while (Mask != 0) {
            const char16_t* Q = P + (__builtin_ctz(unsigned(Mask)) >> 1);
            if (*Q == u'>' || IsBlank(*Q))
                return Q;
            Mask &= Mask - 1;
            Mask &= Mask - 1;
        }
        P += 8;
    }
#endif
    while (P < End && *P != u'>' && !IsBlank(*P))
        ++P;
    return P;
}

inline qsizetype FindBlank(QStringView S) {
    const char16_t* Begin = S.utf16();
    const char16_t* Blank = ScanForBlank(Begin, Begin + S.size());
    return Blank == Begin + S.size() ? -1 : Blank - Begin;
}

// The hash of a short string, for the tables of shared strings below. It
// looks at a few characters only: names and values differ early or late.
inline uint32_t ShortHash(QStringView S) {
    const qsizetype N = S.size();
    if (N == 0)
        return 0;
    const char16_t* D = S.utf16();
    const uint64_t Key = uint64_t(N) ^ uint64_t(D[0]) << 8 ^ uint64_t(D[N / 2]) << 24 ^
                         uint64_t(N > 1 ? D[N - 2] : 0) << 40 ^ uint64_t(D[N - 1]) << 48;
    return uint32_t((Key * 0x9E3779B97F4A7C15u) >> 32);
}

// The slot of a short string in a small cache of shared strings. Collisions
// only cost a fresh string.
inline size_t CacheSlot(uint32_t Hash) {
    return Hash & 255;
}

// Names and short texts are compared eight bytes at a time.
inline bool SameChars(const char16_t* A, const char16_t* B, qsizetype N) {
    for (; N >= 4; A += 4, B += 4, N -= 4) {
        uint64_t X;
        uint64_t Y;
        std::memcpy(&X, A, sizeof X);
        std::memcpy(&Y, B, sizeof Y);
        if (X != Y)
            return false;
    }
    for (; N > 0; ++A, ++B, --N)
        if (*A != *B)
            return false;
    return true;
}

inline const char16_t* CharsOf(const QString& S) {
    return reinterpret_cast<const char16_t*>(S.constData());
}

inline bool SameText(const QString& A, QStringView B) {
    return A.size() == B.size() && SameChars(CharsOf(A), B.utf16(), B.size());
}

// Returns the cached string equal to S, replacing the slot's string if needed.
inline const QString& Cached(QString& Slot, QStringView S) {
    if (!SameText(Slot, S))
        Slot = S.toString();
    return Slot;
}

// Strings kept for the life of the program. Their data is static, so that
// copies of them cost no reference counting and destroying a node that holds
// one frees nothing.
class TStaticStrings {
public:
    explicit TStaticStrings(std::initializer_list<const char16_t*> Texts) {
        for (const char16_t* T : Texts) {
            if (FCount == Capacity)
                break;
            const QString S =
                QString::fromRawData(reinterpret_cast<const QChar*>(T),
                                     qsizetype(std::char_traits<char16_t>::length(T)));
            const int K = FCount++;
            FStrings[K] = S;
            const uint32_t Hash = ShortHash(S);
            size_t I = CacheSlot(Hash);
            while (FIndex[I] != 0)
                I = (I + 1) & 255;
            FIndex[I] = uint8_t(K + 1);
            FHashes[I] = Hash;
            if (!S.isEmpty() && S.size() < 64 && S[0].unicode() < 128)
                FFirsts[S.size()][S[0].unicode() >> 6] |= uint64_t(1) << (S[0].unicode() & 63);
            if (S.size() == 1 && S[0].unicode() < 128)
                FSingle[S[0].unicode()] = uint8_t(K + 1);
        }
    }
    // The number of the static string equal to S; -1 for none.
    int Find(QStringView S) const {
        // Most other strings differ in length or first character.
        const qsizetype N = S.size();
        if (N == 0 || N >= 64)
            return -1;
        const char16_t First = S[0].unicode();
        if (First >= 128 || (FFirsts[N][First >> 6] >> (First & 63) & 1) == 0)
            return -1;
        if (N == 1)
            return S[0].unicode() < 128 ? FSingle[S[0].unicode()] - 1 : -1;
        const uint32_t Hash = ShortHash(S);
        for (size_t I = CacheSlot(Hash);; I = (I + 1) & 255) {
            const int K = FIndex[I] - 1;
            if (K < 0)
                return -1;
            if (FHashes[I] == Hash && SameText(FStrings[K], S))
                return K;
        }
    }
    const QString& At(int K) const { return FStrings[K]; }

private:
    // At most this many strings, so that the table stays at most a third
    // full and a miss ends after a probe or two.
    static constexpr int Capacity = 85;
    QString FStrings[Capacity];
    int FCount = 0;
    uint8_t FIndex[256] = {};
    uint32_t FHashes[256] = {};
    uint8_t FSingle[128] = {};
    // By length, the first characters of the strings of that length (of
    // those that are ASCII and shorter than 64).
    uint64_t FFirsts[64][2] = {};
};

// The names of the .pathway file: nearly every node this reader meets
// carries one of them.
const TStaticStrings& KnownNames() {
    static const TStaticStrings Names{u"xml",
                                      u"version",
                                      u"encoding",
                                      u"pathways",
                                      u"pathwaytype",
                                      u"tippingvaluescount",
                                      u"TippingTimeCaption0",
                                      u"TippingTimeCaption1",
                                      u"TippingTimeCaption2",
                                      u"TippingTimeCaption3",
                                      u"TippingTimeCaption4",
                                      u"TippingTimeCaption5",
                                      u"element",
                                      u"id",
                                      u"caption",
                                      u"color",
                                      u"tippingpointvalue",
                                      u"tippingtimevalue0",
                                      u"tippingtimevalue1",
                                      u"tippingtimevalue2",
                                      u"tippingtimevalue3",
                                      u"tippingtimevalue4",
                                      u"tippingtimevalue5",
                                      u"predecessorid",
                                      u"combinationsecond",
                                      u"combinationtype",
                                      u"initialcosts",
                                      u"transfercosts",
                                      u"recurrentcosts",
                                      u"CurrentElement",
                                      u"scenarios",
                                      u"scenario",
                                      u"year2010",
                                      u"year2020",
                                      u"year2030",
                                      u"year2040",
                                      u"year2050",
                                      u"year2060",
                                      u"year2070",
                                      u"year2080",
                                      u"year2090",
                                      u"year2100",
                                      u"graphsettings",
                                      u"maxtippingpoint",
                                      u"mintippingpoint",
                                      u"leftmargin",
                                      u"titlesareawidth",
                                      u"topmargin",
                                      u"bottommargin",
                                      u"rightmargin",
                                      u"yoffset",
                                      u"overshoot",
                                      u"ticksxaxis",
                                      u"xaxistitle",
                                      u"drawingareawidth",
                                      u"drawingareaheight",
                                      u"fontsize"};
    return Names;
}

// The texts that most elements of a .pathway file hold: costs and ids of
// none, and the enumeration words.
const TStaticStrings& KnownTexts() {
    static const TStaticStrings Texts{
        u"0",         u"1",      u"2",         u"3",          u"4",
        u"5",         u"6",      u"7",         u"8",          u"9",
        u"-1",        u"ctNone", u"ctCombine", u"ctSequence", u"conditionbased",
        u"timebased", u"1.0",    u"utf-8"};
    return Texts;
}

// Decodes &lt; &gt; &quot; &apos; and &amp;, nothing else. One pass gives the
// same result as replacing the five in turn: no replacement can form a new
// entity, since every entity starts with "&" and only &amp; yields one, last.
QString Unescape(QStringView S) {
    const char16_t* First = ScanFor(S.utf16(), S.utf16() + S.size(), u'&');
    if (First == S.utf16() + S.size())
        return S.toString();
    qsizetype Amp = First - S.utf16();
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
    // At least Count characters from FPos on, reading on as needed; false
    // when the input ends before.
    bool Ensure(qsizetype Count) { return FBuf.size() - FPos >= Count || EnsureMore(Count); }
    bool EnsureMore(qsizetype Count);
    bool NextIs(QStringView S);
    // Index of the next C at or after FPos, reading on as needed; -1 when the
    // input holds none (the buffer then holds the rest of the input).
    qsizetype FindChar(char16_t C) {
        const char16_t* D = FBuf.Data();
        const char16_t* End = D + FBuf.size();
        const char16_t* Hit = ScanFor(D + FPos, End, C);
        return Hit != End ? Hit - D : FindCharFurther(C);
    }
    qsizetype FindCharFurther(char16_t C);
    qsizetype FindEither(char16_t A, char16_t B);
    qsizetype FindString(QStringView S);
    QString TakeUntil(QStringView Stop);
    // Drops consumed text from the front now and then.
    void Compact() {
        if (FPos >= 65536 && FPos * 2 >= FBuf.size()) {
            FBuf.RemoveFront(FPos);
            FPos = 0;
        }
    }
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
    const TStaticStrings& FKnownNames = KnownNames();
    const TStaticStrings& FKnownTexts = KnownTexts();
    // The number of the last static name met, and for each static name the
    // one that followed it last time (plus one; 0 for none yet).
    int FLastName = -1;
    uint8_t FSuccessor[256] = {};
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

bool TXmlReader::EnsureMore(qsizetype Count) {
    while (FBuf.size() - FPos < Count)
        if (!ReadChunk())
            return FBuf.size() - FPos >= Count;
    return true;
}

bool TXmlReader::NextIs(QStringView S) {
    Ensure(S.size());
    return FBuf.View().mid(FPos).startsWith(S);
}

// FindChar past the end of what the buffer holds now.
qsizetype TXmlReader::FindCharFurther(char16_t C) {
    for (;;) {
        const qsizetype From = FBuf.size();
        if (!ReadChunk() && From == FBuf.size())
            return -1;
        const char16_t* D = FBuf.Data();
        const char16_t* End = D + FBuf.size();
        const char16_t* Hit = ScanFor(D + From, End, C);
        if (Hit != End)
            return Hit - D;
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

const QString& TXmlReader::Intern(QStringView Name) {
    if (Name.isEmpty()) {
        FLastName = -1;
        return FNoName;
    }
    // Names mostly come in the order they came before: after "caption" the
    // next name was "color" last time, and will be again.
    if (FLastName >= 0) {
        const int Guess = FSuccessor[FLastName] - 1;
        if (Guess >= 0 && SameText(FKnownNames.At(Guess), Name)) {
            FLastName = Guess;
            return FKnownNames.At(Guess);
        }
    }
    const int Known = FKnownNames.Find(Name);
    if (Known >= 0) {
        if (FLastName >= 0)
            FSuccessor[FLastName] = uint8_t(Known + 1);
        FLastName = Known;
        return FKnownNames.At(Known);
    }
    FLastName = -1;
    return Cached(FNames[CacheSlot(ShortHash(Name))], Name);
}

// Unescaped. The texts that most elements hold share static strings; any
// other text gets a fresh string, which costs less than sharing one read
// before (a shared string is counted up and down again, atomically).
QString TXmlReader::TextOf(QStringView Escaped) {
    if (Escaped.isEmpty())
        return QString();
    // None of the static texts holds an entity.
    const int Known = FKnownTexts.Find(Escaped);
    if (Known >= 0)
        return FKnownTexts.At(Known);
    return Unescape(Escaped);
}

TXmlNode* TXmlReader::Append(QStringView Name, TXmlNodeType Type) {
    TXmlNodePool& Pool = *FDoc.FPool;
    // Parents in a pathway file have some ten children: one piece of memory
    // for the list instead of a few growing ones. Root outlives what is read
    // into it, so its list stays on the heap.
    TXmlNodeList& Siblings = FParent->ChildNodes;
    if (!Siblings.FItems || Siblings.Block()->Count == Siblings.Block()->Capacity) {
        const bool FromPool = FParent != FDoc.Root.get();
        Siblings.MakeRoom(FromPool ? &Pool : nullptr,
                          FromPool ? NextCapacity(NextCapacity(0)) : 16);
    }
    TXmlNode* Node = new (Pool) TXmlNode(&FDoc, Intern(Name), Type);
    // What Insert does at the end, without its checks: there is room, and
    // the list owns.
    TXmlListBlock* Block = Siblings.Block();
    Siblings.FItems[Block->Count++] = Node;
    Node->Parent = Siblings.Parent;
    if (Siblings.Document && Siblings.Parent == Siblings.Document->Root.get() &&
        Type == ntElement && !Siblings.Document->FDocumentElement)
        Siblings.Document->FDocumentElement = Node;
    return Node;
}

void TXmlReader::ParseAttributes(TXmlNode* Node, QStringView S) {
    S = TrimLeft(S);
    while (!S.isEmpty()) {
        qsizetype I = 0;
        while (I < S.size() && !IsBlank(S[I].unicode()) && S[I] != u'=')
            ++I;
        TXmlAttribute* A = Node->AttributeList.Add(Intern(S.left(I)), FDoc.FPool.get());
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
    // Mostly the tag ends before any blank: then one scan finds its end and
    // tells that its name is all of it.
    const char16_t* D = FBuf.Data();
    const char16_t* Stop = ScanForTagStop(D + FPos, D + FBuf.size());
    const bool NoBlank = Stop != D + FBuf.size() && *Stop == u'>';
    const qsizetype Gt = NoBlank ? Stop - D : FindChar(u'>');
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
    const qsizetype Blank = NoBlank ? -1 : FindBlank(T);
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
        // Mostly the end tag names this element: then its ">" follows the
        // name, which holds no ">" of its own, and needs no search.
        const qsizetype N = Node->Name.size();
        qsizetype EndGt;
        if (Ensure(N + 1) && FBuf[FPos + N] == u'>' &&
            SameChars(FBuf.Data() + FPos, CharsOf(Node->Name), N))
            EndGt = FPos + N;
        else
            EndGt = FindChar(u'>');
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
    if (!FDoc.FPool)
        FDoc.FPool = std::make_unique<TXmlNodePool>();
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

void ReadXmlDocument(TXmlDoc& Doc, QIODevice* Device, QByteArrayView Bytes, int BufferSize,
                     const QString& ReadErrorPrefix) {
    TXmlReader(Doc, Device, Bytes, BufferSize, ReadErrorPrefix).Run();
}
