// Feeds arbitrary bytes to the XML reader, writes the tree back and reads
// that again. The first byte chooses the read buffer size (128 to 4096).
//
// Besides crashes, leaks and undefined behaviour it checks two properties:
// the tree does not depend on the buffer size, and a tree written and read
// back is written the same way again, wherever the text layout can carry it.

#include "file/XmlUnit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Fail(const char* What, const QByteArray& A, const QByteArray& B) {
    qsizetype At = 0;
    while (At < A.size() && At < B.size() && A[At] == B[At])
        ++At;
    std::fprintf(stderr, "%s; they part at byte %lld\n--- first:\n%s\n--- second:\n%s\n", What,
                 static_cast<long long>(At), A.toHex(' ').constData(), B.toHex(' ').constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0)
        return 0;
    const int BufferSize = 128 + int(Data[0]) * (4096 - 128) / 255;
    const QByteArray Bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));

    TXmlDoc Doc;
    Doc.LoadFromBytes(Bytes, BufferSize);
    const QByteArray Written = Doc.SaveToBytes();

    TXmlDoc Other;
    Other.LoadFromBytes(Bytes, BufferSize == 128 ? 4096 : 128);
    const QByteArray OtherWritten = Other.SaveToBytes();
    if (OtherWritten != Written)
        Fail("the tree depends on the buffer size", Written, OtherWritten);

    TXmlDoc Back;
    Back.LoadFromBytes(Written, BufferSize);
    const QByteArray Rewritten = Back.SaveToBytes();
    if (LayoutCarriesUnchanged(Doc) && Rewritten != Written)
        Fail("a written tree is not written the same way after reading it", Written, Rewritten);
    return 0;
}
