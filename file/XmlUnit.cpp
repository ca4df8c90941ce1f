#include "file/XmlUnit.h"

#include "file/XmlPoolUnit.h"
#include "file/XmlReaderUnit.h"
#include "file/XmlWriterUnit.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

const QString EncodingAttr = QStringLiteral("encoding");

} // namespace

bool IsUtf8Name(const QString& Encoding) {
    return Encoding.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------------------

TXmlAttributeList::~TXmlAttributeList() {
    if (!FItems)
        return;
    TXmlListBlock* B = Block();
    for (int I = 0; I < B->Count; ++I) {
        if (B->Pool)
            FItems[I]->~TXmlAttribute();
        else
            delete FItems[I];
    }
    FreeBlock(B);
}

TXmlAttribute* TXmlAttributeList::Find(const QString& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (Document ? Document->SameName(FItems[I]->Name, Name) : FItems[I]->Name == Name)
            return FItems[I];
    return nullptr;
}

TXmlAttribute* TXmlAttributeList::Add(const QString& Name) {
    return Add(Name, nullptr);
}

TXmlAttribute* TXmlAttributeList::Add(const QString& Name, TXmlNodePool* Pool) {
    if (!FItems || Block()->Count == Block()->Capacity) {
        TXmlListBlock* Old = FItems ? Block() : nullptr;
        TXmlAttribute** Items =
            NewItems<TXmlAttribute>(NextCapacity(Old ? Old->Capacity : 0), Old ? Old->Pool : Pool);
        if (Old) {
            std::memcpy(Items, FItems, sizeof(TXmlAttribute*) * size_t(Old->Count));
            reinterpret_cast<TXmlListBlock*>(Items)[-1].Count = Old->Count;
            FreeBlock(Old);
        }
        FItems = Items;
    }
    TXmlListBlock* B = Block();
    TXmlAttribute* A = B->Pool ? new (B->Pool->Allocate(sizeof(TXmlAttribute))) TXmlAttribute(Name)
                               : new TXmlAttribute(Name);
    FItems[B->Count++] = A;
    return A;
}

// ---------------------------------------------------------------------------

TXmlNodeList::TXmlNodeList(TXmlDoc* ADocument, TXmlNode* AParent, bool AOwnsNodes)
    : Document(ADocument), Parent(AParent), FOwnsNodes(AOwnsNodes) {}

TXmlNodeList::~TXmlNodeList() {
    Clear();
    if (FItems)
        FreeBlock(Block());
}

void TXmlNodeList::MakeRoom(TXmlNodePool* Pool, int FirstCapacity) {
    if (FItems && Block()->Count < Block()->Capacity)
        return;
    TXmlListBlock* Old = FItems ? Block() : nullptr;
    TXmlNode** Items = NewItems<TXmlNode>(Old ? NextCapacity(Old->Capacity) : FirstCapacity,
                                          Old ? Old->Pool : Pool);
    if (Old) {
        std::memcpy(Items, FItems, sizeof(TXmlNode*) * size_t(Old->Count));
        reinterpret_cast<TXmlListBlock*>(Items)[-1].Count = Old->Count;
        FreeBlock(Old);
    }
    FItems = Items;
}

void TXmlNodeList::DestroyNodes(std::vector<TXmlNode*>& Work, bool WholeDocument) {
    while (!Work.empty()) {
        TXmlNode* N = Work.back();
        Work.pop_back();
        if (TXmlDoc* D = WholeDocument ? nullptr : N->Document()) {
            if (D->FHeader == N)
                D->FHeader = nullptr;
            if (D->FDocumentElement == N)
                D->FDocumentElement = nullptr;
        }
        // The first child comes next: nodes go in the order they were read,
        // which is the order in which a read document lies in memory.
        TXmlNodeList& Children = N->ChildNodes;
        if (Children.FItems) {
            TXmlListBlock* B = Children.Block();
            for (int I = B->Count; I-- > 0;)
                Work.push_back(Children.FItems[I]);
            B->Count = 0;
        }
        if (WholeDocument && TXmlNodePool::PoolOf(N))
            N->~TXmlNode(); // the slot goes with the pool
        else
            delete N;
    }
}

void TXmlNodeList::Clear() {
    if (!FItems)
        return;
    if (Block()->Count == 0)
        return;
    if (!FOwnsNodes) {
        Block()->Count = 0;
        return;
    }
    std::vector<TXmlNode*> Work(std::make_reverse_iterator(end()),
                                std::make_reverse_iterator(begin()));
    Block()->Count = 0;
    DestroyNodes(Work, false);
}

TXmlNode* TXmlNodeList::Find(const QString& Name, TXmlNodeTypes NodeTypes) const {
    for (TXmlNode* N : *this)
        if (NodeTypes.Passes(N->NodeType) &&
            (Document ? Document->SameName(N->Name, Name) : N->Name == Name))
            return N;
    return nullptr;
}

std::unique_ptr<TXmlNodeList> TXmlNodeList::FindNodes(const QString& Name,
                                                      TXmlNodeTypes NodeTypes) const {
    auto Result = std::make_unique<TXmlNodeList>(Document, Parent, false);
    if (Count() > 0)
        Result->FItems = NewItems<TXmlNode>(Count(), nullptr);
    for (TXmlNode* N : *this)
        if (NodeTypes.Passes(N->NodeType) &&
            (Document ? Document->SameName(N->Name, Name) : N->Name == Name))
            Result->FItems[Result->Block()->Count++] = N;
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
    MakeRoom(nullptr, NextCapacity(0));
    TXmlListBlock* B = Block();
    std::memmove(FItems + Index + 1, FItems + Index, sizeof(TXmlNode*) * size_t(B->Count - Index));
    FItems[Index] = Value;
    ++B->Count;
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
    return Pool.AllocateNode();
}

void TXmlNode::operator delete(void* Node) {
    if (!Node)
        return;
    std::byte* Slot = static_cast<std::byte*>(Node) - TXmlNodePool::HeaderSize;
    if (TXmlNodePool* Pool = *reinterpret_cast<TXmlNodePool**>(Slot))
        Pool->ReleaseNode(Slot);
    else
        ::operator delete(Slot);
}

void TXmlNode::operator delete(void* Node, TXmlNodePool&) {
    operator delete(Node);
}

TXmlNode::TXmlNode(TXmlDoc* ADocument, const QString& AName, TXmlNodeType ANodeType)
    : Name(AName), NodeType(ANodeType), ChildNodes(ADocument, this, true), AttributeList(ADocument),
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
    // Every node read into the pool hangs in this tree (Root itself comes
    // from the heap), so once the tree is gone the whole pool is free.
    if (FPool)
        FPool->FDiscarding = true;
    TXmlNodeList& Top = Root->ChildNodes;
    if (Top.Count() > 0) {
        std::vector<TXmlNode*> Work(std::make_reverse_iterator(Top.end()),
                                    std::make_reverse_iterator(Top.begin()));
        Top.Block()->Count = 0;
        TXmlNodeList::DestroyNodes(Work, true);
    }
    if (FPool) {
        FPool->FDiscarding = false;
        FPool->Reset();
    }
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
    ReadXmlDocument(*this, &F, {}, BufferSize,
                    QStringLiteral("Cannot read file \"%1\". ").arg(FileName));
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
    if (!WriteXmlDocument(*this, &F)) {
        const QString Reason = F.errorString();
        F.cancelWriting();
        throw ECorvinalError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Reason));
    }
    if (!F.commit())
        Fail();
}

void TXmlDoc::LoadFromStream(QIODevice& Stream, int BufferSize) {
    ReadXmlDocument(*this, &Stream, {}, BufferSize, QStringLiteral("Cannot read stream. "));
}

void TXmlDoc::SaveToStream(QIODevice& Stream) {
    if (!WriteXmlDocument(*this, &Stream))
        throw ECorvinalError(QStringLiteral("Cannot write stream. ") + Stream.errorString());
}

QByteArray TXmlDoc::SaveToBytes() {
    QByteArray Bytes;
    WriteXmlDocument(*this, nullptr, &Bytes);
    return Bytes;
}

void TXmlDoc::LoadFromBytes(const QByteArray& Bytes, int BufferSize) {
    ReadXmlDocument(*this, nullptr, Bytes, BufferSize, QString());
}

bool LayoutCarriesUnchanged(const TXmlDoc& Doc) {
    if (Doc.Encoding().compare(QLatin1String("utf-8"), Qt::CaseInsensitive) != 0)
        return false;
    std::vector<const TXmlNode*> Work(Doc.ChildNodes().begin(), Doc.ChildNodes().end());
    while (!Work.empty()) {
        const TXmlNode* N = Work.back();
        Work.pop_back();
        if (N->NodeType == ntElement && (N->Name.isEmpty() || N->Name.endsWith(QLatin1Char('/'))))
            return false;
        for (int I = 0; I < N->AttributeList.Count(); ++I)
            if (N->AttributeList.Get(I)->Name.endsWith(QLatin1Char('/')))
                return false;
        Work.insert(Work.end(), N->ChildNodes.begin(), N->ChildNodes.end());
    }
    return true;
}
