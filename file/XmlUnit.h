#pragma once

#include "base/ErrorUnit.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class QIODevice;
class TXmlDoc;
class TXmlNode;
struct TXmlNodePool;

enum TXmlNodeType : uint8_t {
    ntElement,
    ntText,
    ntCData,
    ntProcessingInstr,
    ntComment,
    ntDocument,
    ntDocType,
    ntXmlDecl
};

// A set of node types used as a filter; the empty set lets every type pass.
class TXmlNodeTypes {
public:
    TXmlNodeTypes() = default;
    TXmlNodeTypes(std::initializer_list<TXmlNodeType> Types) {
        for (TXmlNodeType T : Types)
            FBits |= uint16_t(1u << T);
    }
    bool Passes(TXmlNodeType Type) const { return FBits == 0 || (FBits & (1u << Type)); }

private:
    uint16_t FBits = 0;
};

enum TXmlAttributeType : uint8_t { atValue, atSingle };

enum TXmlOption : uint8_t {
    doNodeAutoIndent,
    doCompact,
    doParseProcessingInstr,
    doPreserveWhiteSpace,
    doCaseInsensitive,
    doWriteBOM
};

class TXmlOptions {
public:
    TXmlOptions() = default;
    TXmlOptions(std::initializer_list<TXmlOption> Options) {
        for (TXmlOption O : Options)
            Include(O);
    }
    bool Contains(TXmlOption Option) const { return FBits & (1u << Option); }
    void Include(TXmlOption Option) { FBits |= uint8_t(1u << Option); }
    void Exclude(TXmlOption Option) { FBits &= uint8_t(~(1u << Option)); }

private:
    uint8_t FBits = 0;
};

class TXmlAttribute {
public:
    explicit TXmlAttribute(const QString& AName) : Name(AName) {}
    const QString& Value() const { return FValue; }
    // Assigning a value makes the attribute atValue.
    void SetValue(const QString& AValue) {
        FValue = AValue;
        AttributeType = atValue;
    }

    QString Name;
    TXmlAttributeType AttributeType = atSingle;

private:
    QString FValue;
};

// The memory of a list: its count, its capacity and the pool it comes from
// (none for the heap), followed by the items. An empty list has none.
struct TXmlListBlock {
    int Count;
    int Capacity;
    TXmlNodePool* Pool;
};

// Owns its attributes; insertion order is the written order.
class TXmlAttributeList {
public:
    explicit TXmlAttributeList(TXmlDoc* ADocument) : Document(ADocument) {}
    ~TXmlAttributeList();
    TXmlAttributeList(const TXmlAttributeList&) = delete;
    TXmlAttributeList& operator=(const TXmlAttributeList&) = delete;

    int Count() const { return FItems ? Block()->Count : 0; }
    TXmlAttribute* Get(int Index) const {
        if (Index < 0 || Index >= Count())
            RaiseListIndexError(Index);
        return FItems[Index];
    }
    TXmlAttribute* Find(const QString& Name) const;
    TXmlAttribute* Add(const QString& Name);

    TXmlDoc* Document;

private:
    friend class TXmlReader;
    TXmlListBlock* Block() const { return reinterpret_cast<TXmlListBlock*>(FItems) - 1; }
    // A list's first memory comes from Pool (the heap when none); its
    // attributes and any later memory come from the same place.
    TXmlAttribute* Add(const QString& Name, TXmlNodePool* Pool);

    TXmlAttribute** FItems = nullptr;
};

// An ordered list of nodes. A node's child list owns its nodes; lists made by
// FindNodes do not.
class TXmlNodeList {
public:
    TXmlNodeList(TXmlDoc* ADocument, TXmlNode* AParent, bool AOwnsNodes);
    ~TXmlNodeList();
    TXmlNodeList(const TXmlNodeList&) = delete;
    TXmlNodeList& operator=(const TXmlNodeList&) = delete;

    int Count() const { return FItems ? Block()->Count : 0; }
    TXmlNode* Get(int Index) const {
        if (Index < 0 || Index >= Count())
            RaiseListIndexError(Index);
        return FItems[Index];
    }
    TXmlNode* const* begin() const { return FItems; }
    TXmlNode* const* end() const { return FItems + Count(); }
    TXmlNode* Find(const QString& Name, TXmlNodeTypes NodeTypes = {}) const;
    std::unique_ptr<TXmlNodeList> FindNodes(const QString& Name,
                                            TXmlNodeTypes NodeTypes = {}) const;
    bool HasNode(const QString& Name, TXmlNodeTypes NodeTypes = {}) const;
    // Appends an existing node; an owning list takes it over and sets its Parent.
    void Add(TXmlNode* Value);
    void Insert(int Index, TXmlNode* Value);
    // Removes every node, destroying them when the list owns them.
    void Clear();

    TXmlDoc* Document;
    TXmlNode* Parent;

private:
    friend class TXmlNode;
    friend class TXmlDoc;
    friend class TXmlReader;
    TXmlListBlock* Block() const { return reinterpret_cast<TXmlListBlock*>(FItems) - 1; }
    // Room for one more node; a list's first memory, for FirstCapacity
    // nodes, comes from Pool (the heap when none), any later memory from the
    // same place.
    void MakeRoom(TXmlNodePool* Pool, int FirstCapacity);
    // Destroys the nodes and their subtrees with a work list, so that depth
    // costs heap and not stack. When the whole document goes, its header and
    // document element are forgotten anyway and its pool is free at once.
    static void DestroyNodes(std::vector<TXmlNode*>& Work, bool WholeDocument);

    TXmlNode** FItems = nullptr;
    bool FOwnsNodes;
};

class TXmlNode {
public:
    TXmlNode(TXmlDoc* ADocument, const QString& AName, TXmlNodeType ANodeType);
    // Destroys attributes and the whole subtree without recursing on depth.
    ~TXmlNode();
    TXmlNode(const TXmlNode&) = delete;
    TXmlNode& operator=(const TXmlNode&) = delete;

    // The reader takes nodes from its document's pool, everything else from
    // the heap; delete releases either kind. A node read from a file lives
    // in its document's tree and does not outlive the document.
    static void* operator new(size_t Size);
    static void* operator new(size_t Size, TXmlNodePool& Pool);
    static void operator delete(void* Node);
    static void operator delete(void* Node, TXmlNodePool& Pool);

    TXmlDoc* Document() const { return FDocument; }
    const QString& NodeName() const { return Name; }
    const QString& NodeValue() const { return Text; }

    TXmlNode* AddChild(const QString& AName, TXmlNodeType ANodeType = ntElement);
    QString GetAttribute(const QString& AttrName) const;
    TXmlNode* SetAttribute(const QString& AttrName, const QString& AttrValue);
    bool HasAttribute(const QString& AttrName) const;
    bool HasChildNodes() const { return ChildNodes.Count() > 0; }
    TXmlNode* Find(const QString& AName, TXmlNodeTypes NodeTypes = {}) const;
    std::unique_ptr<TXmlNodeList> FindNodes(const QString& AName,
                                            TXmlNodeTypes NodeTypes = {}) const;
    bool HasChild(const QString& AName, TXmlNodeTypes NodeTypes = {}) const;

    // What readers of a tree look at most comes first: read from a file, a
    // node fills two cache lines, and these fields share the first.
    QString Name;
    QString Text;
    TXmlNodeType NodeType;
    TXmlNode* Parent = nullptr;
    TXmlNodeList ChildNodes;
    TXmlAttributeList AttributeList;

private:
    TXmlDoc* FDocument;
};

// Whether an encoding name is UTF-8's, in any letter case.
bool IsUtf8Name(const QString& Encoding);

// An XML document: the top-level nodes under Root, written in one fixed layout
// (byte-order mark, CR LF, two-space indentation) and read by a lenient reader
// that never reports a syntax error.
class TXmlDoc {
public:
    TXmlDoc();
    ~TXmlDoc();
    TXmlDoc(const TXmlDoc&) = delete;
    TXmlDoc& operator=(const TXmlDoc&) = delete;

    TXmlNode* AddChild(const QString& Name, TXmlNodeType NodeType = ntElement);
    TXmlNodeList& ChildNodes() { return Root->ChildNodes; }
    const TXmlNodeList& ChildNodes() const { return Root->ChildNodes; }
    void Clear();
    QString Encoding() const;
    TXmlNode* Header() const { return FHeader; }
    TXmlNode* DocumentElement() const { return FDocumentElement; }

    // Fail with "Cannot open file ..." / "Cannot create file ...". Saving goes
    // through a temporary file, so a failed save leaves the old file intact.
    void LoadFromFile(const QString& FileName, int BufferSize = 4096);
    void SaveToFile(const QString& FileName);
    void LoadFromStream(QIODevice& Stream, int BufferSize = 4096);
    void SaveToStream(QIODevice& Stream);
    // The written bytes, and reading from bytes in memory.
    QByteArray SaveToBytes();
    void LoadFromBytes(const QByteArray& Bytes, int BufferSize = 4096);

    // Name comparison under the document's options.
    bool SameName(const QString& A, const QString& B) const;

    std::unique_ptr<TXmlNode> Root;
    QString NodeIndentStr;
    QString LineBreak;
    TXmlOptions Options;
    bool SkipIndent = false;

private:
    friend class TXmlNodeList;
    friend class TXmlReader;
    TXmlNode* FHeader = nullptr;
    TXmlNode* FDocumentElement = nullptr;
    // Memory of the nodes read into this document; it outlives them all.
    std::unique_ptr<TXmlNodePool> FPool;
};

// Whether writing Doc and reading it back gives the same tree: the fixed
// layout cannot carry text in another encoding than UTF-8 (it is read back
// as UTF-8), an element without a name (written as "</>") or an element or
// attribute name ending in "/" (its element would look empty).
bool LayoutCarriesUnchanged(const TXmlDoc& Doc);
