#include "file/XmlUnit.h"
#include "base/ErrorUnit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <vector>

// Failing comparisons show texts, not arrays of characters.
void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray Decl("<?xml version=\"1.0\" encoding=\"utf-8\"?>");

const char* TypeName(TXmlNodeType T) {
    static const char* Names[] = {"element", "text",     "cdata",   "pi",
                                  "comment", "document", "doctype", "xmldecl"};
    return Names[T];
}

// The whole tree as one text: one line per node and attribute, indented by
// depth, so that a failing comparison shows where the trees part.
QString Dump(const TXmlNodeList& List, int Depth = 0) {
    QString Out;
    for (const TXmlNode* N : List) {
        const QString Pad(Depth * 2, QLatin1Char(' '));
        Out += Pad + QLatin1String(TypeName(N->NodeType)) + QLatin1Char(' ') + N->Name;
        if (!N->Text.isEmpty())
            Out += QLatin1String(" [") + N->Text + QLatin1Char(']');
        Out += QLatin1Char('\n');
        for (int I = 0; I < N->AttributeList.Count(); ++I) {
            const TXmlAttribute* A = N->AttributeList.Get(I);
            Out += Pad + QLatin1String("  @") + A->Name;
            if (A->AttributeType == atValue)
                Out += QLatin1String("=[") + A->Value() + QLatin1Char(']');
            Out += QLatin1Char('\n');
        }
        Out += Dump(N->ChildNodes, Depth + 1);
    }
    return Out;
}

QString Dump(const TXmlDoc& Doc) {
    return Dump(Doc.ChildNodes());
}

QString Read(const QByteArray& Bytes, int BufferSize = 4096) {
    TXmlDoc Doc;
    Doc.LoadFromBytes(Bytes, BufferSize);
    return Dump(Doc);
}

QByteArray ReadFile(const QString& Name) {
    QFile F(Name);
    EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Name.toStdString();
    return F.readAll();
}

void WriteFile(const QString& Name, const QByteArray& Bytes) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly)) << Name.toStdString();
    ASSERT_EQ(F.write(Bytes), Bytes.size());
}

QString ErrorOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const ECorvinalError& E) {
        return E.Message();
    }
    return QString();
}

// A small pathway-like document, with the characters that need escaping and
// characters that take several bytes in UTF-8.
void FillPathway(TXmlDoc& Doc, int Elements) {
    TXmlNode* Pathways = Doc.AddChild(QStringLiteral("pathways"));
    Pathways->AddChild(QStringLiteral("pathwaytype"))->Text = QStringLiteral("conditionbased");
    for (int I = 1; I <= Elements; ++I) {
        TXmlNode* E = Pathways->AddChild(QStringLiteral("element"));
        E->SetAttribute(QStringLiteral("id"), QString::number(I));
        E->AddChild(QStringLiteral("caption"))->Text =
            QStringLiteral("Dike \"%1\" & <Pump> – Deich €, Größe 😀 l'eau").arg(I);
        E->AddChild(QStringLiteral("color"))->Text = QStringLiteral("$0040A0C0");
        E->AddChild(QStringLiteral("tippingpointvalue"))->Text = QStringLiteral("2.5");
        E->AddChild(QStringLiteral("predecessorid"))->Text = QStringLiteral("-1");
        E->AddChild(QStringLiteral("combinationtype"))->Text = QStringLiteral("ctNone");
    }
    Pathways->AddChild(QStringLiteral("CurrentElement"))->Text = QStringLiteral("1");
    TXmlNode* Scenarios = Doc.AddChild(QStringLiteral("scenarios"));
    TXmlNode* S = Scenarios->AddChild(QStringLiteral("scenario"));
    S->AddChild(QStringLiteral("caption"))->Text = QStringLiteral("Wet");
    S->AddChild(QStringLiteral("year2010"))->Text = QStringLiteral("0");
    S->AddChild(QStringLiteral("year2020"));
    Doc.AddChild(QStringLiteral("graphsettings"))->AddChild(QStringLiteral("xaxistitle"))->Text =
        QStringLiteral("[no caption]");
}

// --- New document and tree operations ---------------------------------------

TEST(XmlDocTest, NewDocumentHoldsOnlyTheDeclaration) {
    TXmlDoc Doc;
    ASSERT_EQ(Doc.ChildNodes().Count(), 1);
    EXPECT_EQ(Doc.Header(), Doc.ChildNodes().Get(0));
    EXPECT_EQ(Dump(Doc), QStringLiteral("xmldecl xml\n  @version=[1.0]\n  @encoding=[utf-8]\n"));
    EXPECT_EQ(Doc.Encoding(), QStringLiteral("utf-8"));
    EXPECT_EQ(Doc.DocumentElement(), nullptr);
    EXPECT_EQ(Doc.Root->Parent, Doc.Root.get());
    EXPECT_EQ(Doc.Root->NodeType, ntDocument);
    EXPECT_EQ(Doc.NodeIndentStr, QStringLiteral("  "));
    EXPECT_EQ(Doc.LineBreak, QStringLiteral("\r\n"));
    for (TXmlOption O : {doNodeAutoIndent, doCompact, doParseProcessingInstr, doPreserveWhiteSpace,
                         doCaseInsensitive, doWriteBOM})
        EXPECT_EQ(Doc.Options.Contains(O), O == doNodeAutoIndent || O == doWriteBOM) << int(O);
}

TEST(XmlDocTest, FirstTopLevelElementBecomesDocumentElement) {
    TXmlDoc Doc;
    Doc.AddChild(QStringLiteral("note"), ntComment);
    EXPECT_EQ(Doc.DocumentElement(), nullptr);
    TXmlNode* First = Doc.AddChild(QStringLiteral("pathways"));
    Doc.AddChild(QStringLiteral("scenarios"));
    EXPECT_EQ(Doc.DocumentElement(), First);
    EXPECT_EQ(First->Parent, Doc.Root.get());
    EXPECT_EQ(First->Document(), &Doc);
    EXPECT_EQ(Doc.ChildNodes().Get(2), First);

    Doc.Clear();
    EXPECT_EQ(Doc.ChildNodes().Count(), 0);
    EXPECT_EQ(Doc.Header(), nullptr);
    EXPECT_EQ(Doc.DocumentElement(), nullptr);
    EXPECT_EQ(Doc.Encoding(), QString());
}

TEST(XmlDocTest, SetAttributeReplacesInPlace) {
    TXmlDoc Doc;
    TXmlNode* N = Doc.AddChild(QStringLiteral("element"));
    EXPECT_EQ(N->SetAttribute(QStringLiteral("id"), QStringLiteral("1")), N);
    N->SetAttribute(QStringLiteral("name"), QStringLiteral("a"));
    N->SetAttribute(QStringLiteral("id"), QStringLiteral("2"));
    ASSERT_EQ(N->AttributeList.Count(), 2);
    EXPECT_EQ(N->AttributeList.Get(0)->Name, QStringLiteral("id"));
    EXPECT_EQ(N->AttributeList.Get(0)->Value(), QStringLiteral("2"));
    EXPECT_EQ(N->AttributeList.Get(0)->AttributeType, atValue);
    EXPECT_EQ(N->GetAttribute(QStringLiteral("name")), QStringLiteral("a"));
    EXPECT_TRUE(N->HasAttribute(QStringLiteral("id")));
    EXPECT_FALSE(N->HasAttribute(QStringLiteral("ID")));
    EXPECT_EQ(N->GetAttribute(QStringLiteral("missing")), QString());
}

TEST(XmlDocTest, FindIsCaseSensitiveAndTakesTheFirst) {
    TXmlDoc Doc;
    TXmlNode* Scenarios = Doc.AddChild(QStringLiteral("scenarios"));
    TXmlNode* A = Scenarios->AddChild(QStringLiteral("scenario"));
    Scenarios->AddChild(QStringLiteral("other"));
    TXmlNode* B = Scenarios->AddChild(QStringLiteral("scenario"));
    Scenarios->AddChild(QStringLiteral("scenario"), ntComment);
    const TXmlNodeTypes Elements{ntElement};

    EXPECT_EQ(Doc.ChildNodes().Find(QStringLiteral("Scenarios"), Elements), nullptr);
    EXPECT_EQ(Doc.ChildNodes().Find(QStringLiteral("scenarios"), Elements), Scenarios);
    EXPECT_FALSE(Scenarios->HasChild(QStringLiteral("Scenario")));
    EXPECT_EQ(Scenarios->Find(QStringLiteral("scenario"), Elements), A);

    auto Found = Scenarios->FindNodes(QStringLiteral("scenario"), Elements);
    ASSERT_EQ(Found->Count(), 2);
    EXPECT_EQ(Found->Get(0), A);
    EXPECT_EQ(Found->Get(1), B);
    std::vector<TXmlNode*> Iterated(Found->begin(), Found->end());
    EXPECT_EQ(Iterated, (std::vector<TXmlNode*>{A, B}));
    // The empty set lets every type pass.
    EXPECT_EQ(Scenarios->FindNodes(QStringLiteral("scenario"))->Count(), 3);
    EXPECT_EQ(Scenarios->FindNodes(QStringLiteral("none"), Elements)->Count(), 0);
    Found.reset(); // the nodes stay with their parent
    EXPECT_EQ(Scenarios->ChildNodes.Count(), 4);

    Doc.Options.Include(doCaseInsensitive);
    EXPECT_EQ(Doc.ChildNodes().Find(QStringLiteral("SCENARIOS"), Elements), Scenarios);
    A->SetAttribute(QStringLiteral("id"), QStringLiteral("7"));
    EXPECT_EQ(A->GetAttribute(QStringLiteral("ID")), QStringLiteral("7"));
}

TEST(XmlDocTest, IndexOutsideAListRaises) {
    TXmlDoc Doc;
    EXPECT_EQ(ErrorOf([&] { Doc.ChildNodes().Get(1); }),
              QStringLiteral("List index out of bounds (1)"));
    EXPECT_EQ(ErrorOf([&] { Doc.Header()->AttributeList.Get(-1); }),
              QStringLiteral("List index out of bounds (-1)"));
}

// --- Writing ------------------------------------------------------------------

TEST(XmlWriteTest, ExampleDocumentExactBytes) {
    TXmlDoc Doc;
    Doc.AddChild(QStringLiteral("a"))->AddChild(QStringLiteral("b"))->Text =
        QStringLiteral("x & y");
    const QByteArray Expected = Bom + Decl + "\r\n<a>\r\n  <b>x &amp; y</b>\r\n</a>";
    EXPECT_EQ(Doc.SaveToBytes(), Expected);

    QTemporaryDir Dir;
    const QString Name = Dir.filePath(QStringLiteral("example.pathway"));
    Doc.SaveToFile(Name);
    EXPECT_EQ(ReadFile(Name), Expected);
}

TEST(XmlWriteTest, LayoutOfEveryNodeKind) {
    TXmlDoc Doc;
    Doc.AddChild(QStringLiteral("c"), ntComment)->Text = QStringLiteral(" note ");
    Doc.AddChild(QString(), ntDocType)->Text = QStringLiteral("pathways [<!ENTITY e \"v\">]");
    TXmlNode* Top = Doc.AddChild(QStringLiteral("top"));
    Top->SetAttribute(QStringLiteral("id"), QStringLiteral("1"));
    Top->AttributeList.Add(QStringLiteral("flag"));
    Top->AddChild(QStringLiteral("empty"));
    Top->AddChild(QStringLiteral("pi"), ntProcessingInstr)->Text = QStringLiteral("pi go");
    TXmlNode* Pi = Top->AddChild(QStringLiteral("style"), ntProcessingInstr);
    Pi->SetAttribute(QStringLiteral("href"), QStringLiteral("a.css"));
    TXmlNode* Mixed = Top->AddChild(QStringLiteral("mixed"));
    Mixed->Text = QStringLiteral("lead");
    Mixed->AddChild(QStringLiteral("x"))->Text = QStringLiteral("1");
    Mixed->AddChild(QStringLiteral("y"));
    TXmlNode* Data = Top->AddChild(QStringLiteral("data"));
    Data->AddChild(QString(), ntCData)->Text = QStringLiteral("<raw & 'kept'>");
    TXmlNode* Words = Top->AddChild(QStringLiteral("words"));
    Words->AddChild(QString(), ntText)->Text = QStringLiteral("a < b");
    Words->AddChild(QStringLiteral("i"))->Text = QStringLiteral("c");

    EXPECT_EQ(Doc.SaveToBytes(), Bom + Decl +
                                     "\r\n<!-- note -->"
                                     "\r\n<!DOCTYPE pathways [<!ENTITY e \"v\">]>"
                                     "\r\n<top id=\"1\" flag>"
                                     "\r\n  <empty/>"
                                     "\r\n  <?pi go?>"
                                     "\r\n  <?style href=\"a.css\"?>"
                                     "\r\n  <mixed>lead<x>1</x>"
                                     "\r\n    <y/>"
                                     "\r\n  </mixed>"
                                     "\r\n  <data><![CDATA[<raw & 'kept'>]]>"
                                     "\r\n  </data>"
                                     "\r\n  <words>a < b<i>c</i>"
                                     "\r\n  </words>"
                                     "\r\n</top>");

    Doc.Options.Include(doCompact);
    const QByteArray Compact = Doc.SaveToBytes();
    EXPECT_EQ(Compact, Bom + Decl +
                           "<!-- note --><!DOCTYPE pathways [<!ENTITY e \"v\">]>"
                           "<top id=\"1\" flag><empty/><?pi go?><?style href=\"a.css\"?>"
                           "<mixed>lead<x>1</x><y/></mixed><data><![CDATA[<raw & 'kept'>]]>"
                           "</data><words>a < b<i>c</i></words></top>");
    // The line break stays off for the rest of the document's life.
    EXPECT_EQ(Doc.LineBreak, QString());
}

TEST(XmlWriteTest, EscapingOfTextsAndAttributes) {
    TXmlDoc Doc;
    TXmlNode* N = Doc.AddChild(QStringLiteral("n"));
    N->Text = QStringLiteral("&<>\"' &amp;");
    N->SetAttribute(QStringLiteral("v"), QStringLiteral("&<>\"' l'eau"));
    const QByteArray Bytes = Doc.SaveToBytes();
    EXPECT_TRUE(Bytes.endsWith("\r\n<n v=\"&amp;&lt;&gt;&quot;' l'eau\">"
                               "&amp;&lt;&gt;&quot;&apos; &amp;amp;</n>"))
        << Bytes.toStdString();

    TXmlDoc Back;
    Back.LoadFromBytes(Bytes);
    const TXmlNode* R = Back.ChildNodes().Find(QStringLiteral("n"), {ntElement});
    ASSERT_NE(R, nullptr);
    EXPECT_EQ(R->Text, N->Text);
    EXPECT_EQ(R->GetAttribute(QStringLiteral("v")), N->GetAttribute(QStringLiteral("v")));
    EXPECT_EQ(Back.SaveToBytes(), Bytes);
}

TEST(XmlWriteTest, OtherEncodingWritesLatin1WithoutMark) {
    TXmlDoc Doc;
    Doc.Header()->SetAttribute(QStringLiteral("encoding"), QStringLiteral("ISO-8859-1"));
    Doc.AddChild(QStringLiteral("t"))->Text = QStringLiteral("Größe");
    const QByteArray Bytes = Doc.SaveToBytes();
    EXPECT_EQ(Bytes, QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                                "<t>Gr\xF6\xDF"
                                "e</t>"));

    // A document that expects that encoding reads it back.
    TXmlDoc Back;
    Back.Header()->SetAttribute(QStringLiteral("encoding"), QStringLiteral("ISO-8859-1"));
    Back.LoadFromBytes(Bytes);
    EXPECT_EQ(Back.DocumentElement()->Text, QStringLiteral("Größe"));
    EXPECT_EQ(Back.SaveToBytes(), Bytes);

    // "UTF-8" in capitals is still UTF-8; without doWriteBOM there is no mark.
    Doc.Header()->SetAttribute(QStringLiteral("encoding"), QStringLiteral("UTF-8"));
    Doc.Options.Exclude(doWriteBOM);
    EXPECT_TRUE(Doc.SaveToBytes().startsWith("<?xml"));
    EXPECT_TRUE(Doc.SaveToBytes().contains("Gr\xC3\xB6\xC3\x9F"
                                           "e"));
}

// --- Reading ------------------------------------------------------------------

TEST(XmlReadTest, WrittenTreeReadsBackUnchanged) {
    TXmlDoc Doc;
    FillPathway(Doc, 3);
    TXmlNode* Extra = Doc.ChildNodes().Get(1)->AddChild(QStringLiteral("multi"));
    Extra->Text = QStringLiteral("line 1\r\nline 2\nline 3");
    Doc.ChildNodes().Get(1)->AddChild(QStringLiteral("padded"))->Text =
        QStringLiteral("  both ends \t");
    const QByteArray Bytes = Doc.SaveToBytes();
    EXPECT_TRUE(Bytes.startsWith(Bom + Decl + "\r\n<pathways>\r\n  <pathwaytype>"));
    EXPECT_TRUE(Bytes.endsWith("</graphsettings>"));
    EXPECT_TRUE(Bytes.contains("<year2020/>"));

    TXmlDoc Back;
    Back.LoadFromBytes(Bytes);
    EXPECT_EQ(Dump(Back), Dump(Doc));
    EXPECT_EQ(Back.Header(), Back.ChildNodes().Get(0));
    EXPECT_EQ(Back.DocumentElement(), Back.ChildNodes().Get(1));
    EXPECT_EQ(Back.SaveToBytes(), Bytes);
}

TEST(XmlReadTest, WithoutMarkAndWithLineFeedsReadsTheSame) {
    TXmlDoc Doc;
    FillPathway(Doc, 2);
    const QByteArray Bytes = Doc.SaveToBytes();
    QByteArray Plain = Bytes.mid(3);
    Plain.replace("\r\n", "\n");
    EXPECT_EQ(Read(Plain), Dump(Doc));
    EXPECT_EQ(Read(Bytes.mid(3)), Dump(Doc));
    // Saved again, both are written as Corvinal writes every file.
    for (const QByteArray& Input : {Plain, Bytes.mid(3)}) {
        TXmlDoc Back;
        Back.LoadFromBytes(Input);
        EXPECT_EQ(Back.SaveToBytes(), Bytes);
    }
}

TEST(XmlReadTest, TextsAndEntities) {
    const struct {
        const char* Inner;
        const char* Text;
    } Cases[] = {
        {"&lt;&gt;&quot;&apos;&amp;", "<>\"'&"},
        {"&AMP; &Lt;", "&AMP; &Lt;"},
        {"&#38; &#x26;", "&#38; &#x26;"},
        {"&amp;lt;", "&lt;"},
        {"&amp;amp;", "&amp;"},
        {"a & b &", "a & b &"},
        {"&nbsp;", "&nbsp;"},
        {"  lead and trail  ", "  lead and trail  "},
        {"   ", ""},
        {" \r\n\t ", ""},
        {"", ""},
        {"line\r\nbreak", "line\r\nbreak"},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "é€😀"},
        {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
    };
    for (const auto& C : Cases) {
        TXmlDoc Doc;
        Doc.LoadFromBytes(QByteArray("<t>") + C.Inner + "</t>");
        ASSERT_NE(Doc.DocumentElement(), nullptr) << C.Inner;
        EXPECT_EQ(Doc.DocumentElement()->Text, QString::fromUtf8(C.Text)) << C.Inner;
        EXPECT_FALSE(Doc.DocumentElement()->HasChildNodes()) << C.Inner;
    }
}

TEST(XmlReadTest, Attributes) {
    const struct {
        const char* Tag;
        const char* Expected;
    } Cases[] = {
        {"<e id=\"1\"/>", "element e\n  @id=[1]\n"},
        {"<e a='x \"y\"' b=\"l'eau\"/>", "element e\n  @a=[x \"y\"]\n  @b=[l'eau]\n"},
        {"<e  a = \"1\"   b/>", "element e\n  @a=[1]\n  @b\n"},
        {"<e a=\"&lt;&amp;&#38;\"/>", "element e\n  @a=[<&&#38;]\n"},
        {"<e a=\"1\" a=\"2\"/>", "element e\n  @a=[1]\n  @a=[2]\n"},
        {"<e a=/>", "element e\n  @a=[]\n"},
        {"<e a=\"open/>", "element e\n  @a=[open]\n"},
        {"<e\ta=\"1\"\r\n b='2'>", "element e\n  @a=[1]\n  @b=[2]\n"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Read(C.Tag), QString::fromUtf8(C.Expected)) << C.Tag;
}

TEST(XmlReadTest, StructureAndNodeKinds) {
    const struct {
        const char* Input;
        const char* Expected;
    } Cases[] = {
        {"<a><b>1</b><c/></a>", "element a\n  element b [1]\n  element c\n"},
        {"<a>lead<b/>tail</a>", "element a [lead]\n  element b\n  text  [tail]\n"},
        {"hello<a/>  \r\n <b/>", "text  [hello]\nelement a\nelement b\n"},
        {"<a>&amp;</a>&amp;", "element a [&]\ntext  [&amp;]\n"},
        {"<!-- c <a> --><a/>", "comment  [ c <a> ]\nelement a\n"},
        {"<a><![CDATA[<b>&amp;</b>]]></a>", "element a\n  cdata  [<b>&amp;</b>]\n"},
        {"<!DOCTYPE p SYSTEM \"p.dtd\"><p/>", "doctype  [p SYSTEM \"p.dtd\"]\nelement p\n"},
        {"<!DOCTYPE p [<!ENTITY e \"v\">] ><p/>", "doctype  [p [<!ENTITY e \"v\">] ]\nelement p\n"},
        {"<?xml version=\"1.0\"?><?go now?><a/>",
         "xmldecl xml\n  @version=[1.0]\npi go [go now]\nelement a\n"},
        {"<?XML?>", "xmldecl XML\n"},
        {"<!ELEMENT x><a/>", "element !ELEMENT\n  @x\n  element a\n"},
        {"<a></b><c/></a><d/>", "element a\nelement c\nelement d\n"},
        // End tags close the current element whatever they name.
        {"<a>1</a ><b/>", "element a [1]\nelement b\n"},
        {"<ab>1</a><c/>", "element ab [1]\nelement c\n"},
        {"<a>1</ab><c/>", "element a [1]\nelement c\n"},
        {"<a>1</a", "element a [1]\n"},
        // Names of the pathway file, in an order that changes.
        {"<element><caption>1</caption><color>2</color></element>"
         "<element><color>3</color><caption>4</caption><id/></element>",
         "element element\n  element caption [1]\n  element color [2]\n"
         "element element\n  element color [3]\n  element caption [4]\n  element id\n"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Read(C.Input), QString::fromUtf8(C.Expected)) << C.Input;
}

TEST(XmlReadTest, OptionsChangeTheReading) {
    TXmlDoc Doc;
    Doc.Options.Include(doPreserveWhiteSpace);
    Doc.LoadFromBytes("<a>  <b> </b></a>\n");
    EXPECT_EQ(Dump(Doc), QStringLiteral("element a [  ]\n  element b [ ]\ntext  [\n]\n"));

    TXmlDoc Pi;
    Pi.Options.Include(doParseProcessingInstr);
    Pi.LoadFromBytes("<?style href=\"a.css\"?>");
    EXPECT_EQ(Dump(Pi), QStringLiteral("pi style\n  @href=[a.css]\n"));
}

TEST(XmlReadTest, HostileInputs) {
    const struct {
        const char* Input;
        const char* Expected;
    } Cases[] = {
        {"", ""},
        {"<", ""},
        {"<a>text<", "element a [text]\n"},
        {"<a", "element a\n"},
        {"<a>x", "element a [x]\n"},
        {"<!-- never closed <a></a>", "comment  [ never closed <a></a>]\n"},
        {"<![CDATA[open <a>", "cdata  [open <a>]\n"},
        {"<?pi open", "pi pi [pi open]\n"},
        {"<!DOCTYPE p [ open", "doctype  [p [ open]]\n"},
        {"<!DOCTYPE p", "doctype  [p]\n"},
        {"<a b=\"open>rest</a>", "element a [rest]\n  @b=[open]\n"},
        {"</x></y><a/></a></a><b/>", "element a\nelement b\n"},
        {"<!-", "element !-\n"},
        {"<>", "element \n"},
        {"<a>\xC3", "element a [\xEF\xBF\xBD]\n"},
    };
    for (const auto& C : Cases) {
        for (int Size : {128, 4096}) {
            TXmlDoc Doc;
            Doc.LoadFromBytes(QByteArray(C.Input), Size);
            EXPECT_EQ(Dump(Doc), QString::fromUtf8(C.Expected)) << C.Input;
            if (QByteArray(C.Input).isEmpty()) {
                EXPECT_EQ(Doc.Header(), nullptr);
                EXPECT_EQ(Doc.DocumentElement(), nullptr);
            }
        }
    }
}

// Garbage gives some tree, the same whatever the size of the read buffer. Behind
// the declaration that every file Corvinal writes begins with, that tree,
// written and read back, is written again byte for byte as before, wherever the
// fixed layout can carry it.
TEST(XmlReadTest, BinaryGarbageGivesSomeTreeThatSurvivesARoundTrip) {
    QRandomGenerator Random(20240611);
    for (int Round = 0; Round < 200; ++Round) {
        QByteArray Bytes(int(Random.bounded(1, 3000)), Qt::Uninitialized);
        const char Alphabet[] = "<>/!?-[]\"'= &;amplt\x00\xC3\xFF\xE2\x82";
        for (char& B : Bytes)
            B = Random.bounded(3) == 0 ? char(Random.bounded(256))
                                       : Alphabet[Random.bounded(int(sizeof Alphabet) - 1)];
        const int BufferSize = 128 + int(Random.bounded(4000));
        for (const QByteArray& Input : {Bytes, Decl + Bytes}) {
            TXmlDoc Doc;
            Doc.LoadFromBytes(Input, BufferSize);
            const QByteArray Written = Doc.SaveToBytes();
            TXmlDoc Other;
            Other.LoadFromBytes(Input, BufferSize == 128 ? 4096 : 128);
            EXPECT_EQ(Other.SaveToBytes(), Written) << Round;
            TXmlDoc Back;
            Back.LoadFromBytes(Written);
            if (LayoutCarriesUnchanged(Doc)) {
                EXPECT_EQ(Back.SaveToBytes(), Written) << Round;
            }
        }
    }
}

// A chunk boundary inside a malformed or unfinished sequence must not change
// what is read.
TEST(XmlReadTest, MalformedBytesAtChunkBoundaries) {
    for (int Cut = 112; Cut <= 132; ++Cut) {
        QByteArray Input = "<a>" + QByteArray(Cut - 3, 'x');
        Input += "\xEC"
                 "t \xF0\x9F\x98 \xC3\xA9\xD0\xD0\xD0\xD0z</a>";
        const QString Expected = QStringLiteral("element a [") +
                                 QString(Cut - 3, QLatin1Char('x')) +
                                 QStringLiteral("\uFFFDt \uFFFD\uFFFD\uFFFD é") +
                                 QString(4, QChar::ReplacementCharacter) + QStringLiteral("z]\n");
        EXPECT_EQ(Read(Input, 128), Expected) << Cut;
        EXPECT_EQ(Read(Input, 4096), Expected) << Cut;
    }
}

TEST(XmlReadTest, ReadingAgainReplacesTheTree) {
    TXmlDoc Doc;
    Doc.AddChild(QStringLiteral("built"))->AddChild(QStringLiteral("x"))->Text =
        QStringLiteral("1");
    Doc.LoadFromBytes("<a><b>0</b><b>0</b><c>-1</c></a>");
    TXmlNode* A = Doc.DocumentElement();
    ASSERT_NE(A, nullptr);
    A->AddChild(QStringLiteral("added"))->Text = QStringLiteral("0");
    A->Find(QStringLiteral("b"))->ChildNodes.Clear();
    EXPECT_EQ(Dump(Doc), QStringLiteral("element a\n  element b [0]\n  element b [0]\n"
                                        "  element c [-1]\n  element added [0]\n"));
    // A shared text stays with the node that holds it when another changes.
    A->ChildNodes.Get(0)->Text += QStringLiteral("1");
    EXPECT_EQ(A->ChildNodes.Get(1)->Text, QStringLiteral("0"));

    Doc.LoadFromBytes("<?xml version=\"1.0\"?><z/><y>t</y>");
    EXPECT_EQ(Dump(Doc),
              QStringLiteral("xmldecl xml\n  @version=[1.0]\nelement z\nelement y [t]\n"));
    EXPECT_EQ(Doc.DocumentElement(), Doc.ChildNodes().Get(1));
    EXPECT_EQ(Doc.Header(), Doc.ChildNodes().Get(0));
    EXPECT_EQ(Doc.Encoding(), QString());
}

// A tree read from a file keeps its lists and attributes in the document's
// memory; editing it afterwards mixes in nodes, lists and attributes from the
// heap. Growing, clearing and reading again must keep them all apart.
TEST(XmlReadTest, EditingAReadTreeAndReadingAgain) {
    TXmlDoc Doc;
    Doc.LoadFromBytes("<a id=\"1\"><b/><c>t</c></a>");
    TXmlNode* A = Doc.DocumentElement();
    ASSERT_NE(A, nullptr);
    for (int I = 0; I < 10; ++I)
        A->SetAttribute(QStringLiteral("x%1").arg(I), QString::number(I));
    A->Find(QStringLiteral("b"))->SetAttribute(QStringLiteral("k"), QStringLiteral("v"));
    for (int I = 0; I < 40; ++I)
        A->AddChild(QStringLiteral("n%1").arg(I))->AddChild(QStringLiteral("leaf"));
    EXPECT_EQ(A->AttributeList.Count(), 11);
    EXPECT_EQ(A->AttributeList.Get(10)->Value(), QStringLiteral("9"));
    ASSERT_EQ(A->ChildNodes.Count(), 42);
    EXPECT_EQ(A->ChildNodes.Get(41)->Name, QStringLiteral("n39"));
    EXPECT_EQ(A->ChildNodes.Get(41)->Parent, A);

    A->ChildNodes.Clear();
    EXPECT_FALSE(A->HasChildNodes());
    A->AddChild(QStringLiteral("again"))->Text = QStringLiteral("1");
    EXPECT_EQ(Dump(Doc), QStringLiteral("element a\n  @id=[1]\n  @x0=[0]\n  @x1=[1]\n  @x2=[2]\n"
                                        "  @x3=[3]\n  @x4=[4]\n  @x5=[5]\n  @x6=[6]\n"
                                        "  @x7=[7]\n  @x8=[8]\n  @x9=[9]\n"
                                        "  element again [1]\n"));

    // Reading again reuses the memory of the first reading.
    Doc.AddChild(QStringLiteral("top"))->AddChild(QStringLiteral("below"));
    for (int Round = 0; Round < 3; ++Round) {
        Doc.LoadFromBytes("<a id=\"2\"><b>u</b></a><d/>");
        EXPECT_EQ(Dump(Doc), QStringLiteral("element a\n  @id=[2]\n  element b [u]\nelement d\n"));
        EXPECT_EQ(Doc.DocumentElement(), Doc.ChildNodes().Get(0));
    }
}

TEST(XmlReadTest, MarkChoosesTheDecodingWhenThereIsNoEncoding) {
    TXmlDoc Doc;
    Doc.Clear();
    QByteArray Utf16("\xFF\xFE");
    const QString Text = QStringLiteral("<a>é€</a>");
    Utf16.append(reinterpret_cast<const char*>(Text.utf16()), Text.size() * 2);
    Doc.LoadFromBytes(Utf16);
    EXPECT_EQ(Dump(Doc), QStringLiteral("element a [é€]\n"));

    TXmlDoc Plain;
    Plain.Clear();
    Plain.LoadFromBytes(QByteArray("<a>\xC3\xA9</a>"));
    EXPECT_EQ(Dump(Plain), QStringLiteral("element a [é]\n"));
}

// --- Files ----------------------------------------------------------------------

TEST(XmlFileTest, ChunkSizeDoesNotChangeTheTree) {
    TXmlDoc Doc;
    FillPathway(Doc, 150);
    Doc.ChildNodes().Get(1)->AddChild(QString(), ntComment)->Text =
        QString(700, QLatin1Char('-')) + QStringLiteral("€");
    Doc.ChildNodes().Get(1)->AddChild(QString(), ntCData)->Text =
        QStringLiteral("]]").repeated(300);
    QTemporaryDir Dir;
    const QString Name = Dir.filePath(QStringLiteral("chunks.pathway"));
    Doc.SaveToFile(Name);
    const QString Expected = Dump(Doc);
    const QByteArray Saved = ReadFile(Name);
    for (int Size : {1, 128, 129, 255, 1000, 4093, 4096, 65536}) {
        TXmlDoc Back;
        Back.LoadFromFile(Name, Size);
        EXPECT_EQ(Dump(Back), Expected) << Size;
        EXPECT_EQ(Back.SaveToBytes(), Saved) << Size;
    }
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    TXmlDoc Streamed;
    Streamed.LoadFromStream(F, 333);
    EXPECT_EQ(Dump(Streamed), Expected);
}

TEST(XmlFileTest, MissingFileRaisesAndLeavesTheDocument) {
    QTemporaryDir Dir;
    const QString Name = Dir.filePath(QStringLiteral("missing.pathway"));
    TXmlDoc Doc;
    Doc.AddChild(QStringLiteral("kept"));
    const QString Before = Dump(Doc);
    EXPECT_EQ(ErrorOf([&] { Doc.LoadFromFile(Name); }),
              QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(Name));
    EXPECT_EQ(Dump(Doc), Before);

    const QString Error = ErrorOf([&] { Doc.LoadFromFile(Dir.path()); });
    EXPECT_TRUE(Error.startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(Dir.path())))
        << Error.toStdString();
    EXPECT_EQ(Dump(Doc), Before);
}

TEST(XmlFileTest, SaveThatCannotCreateRaisesAndKeepsWhatWasThere) {
    QTemporaryDir Dir;
    TXmlDoc Doc;
    FillPathway(Doc, 1);

    // The folder is a regular file: nothing can be created in it.
    const QString Blocker = Dir.filePath(QStringLiteral("blocker"));
    WriteFile(Blocker, "old");
    const QString Inside = Blocker + QStringLiteral("/x.pathway");
    const QString Error = ErrorOf([&] { Doc.SaveToFile(Inside); });
    EXPECT_TRUE(Error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(Inside)))
        << Error.toStdString();
    EXPECT_GT(Error.size(), QStringLiteral("Cannot create file \"%1\". ").arg(Inside).size());
    EXPECT_EQ(ReadFile(Blocker), QByteArray("old"));

    // The target is a folder.
    const QString Folder = Dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(Folder));
    EXPECT_TRUE(ErrorOf([&] {
                    Doc.SaveToFile(Folder);
                }).startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(Folder)));
    EXPECT_TRUE(QFileInfo(Folder).isDir());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              (QStringList{QStringLiteral("blocker"), QStringLiteral("folder")}));
}

// The file size limit makes writing fail halfway even for root, like a full
// disk would.
TEST(XmlFileTest, SaveThatFailsWhileWritingKeepsTheOldFile) {
    QTemporaryDir Dir;
    const QString Name = Dir.filePath(QStringLiteral("work.pathway"));
    const QByteArray Old = "<?xml version=\"1.0\"?><old/>";
    WriteFile(Name, Old);

    TXmlDoc Doc;
    FillPathway(Doc, 2000);
    rlimit Saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    rlimit Small = Saved;
    Small.rlim_cur = 10000;
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
    const QString Error = ErrorOf([&] { Doc.SaveToFile(Name); });
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);

    EXPECT_TRUE(Error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(Name)))
        << Error.toStdString();
    EXPECT_GT(Error.size(), QStringLiteral("Cannot create file \"%1\". ").arg(Name).size());
    EXPECT_EQ(ReadFile(Name), Old);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("work.pathway")});

    // Without the limit the same save replaces the file.
    Doc.SaveToFile(Name);
    EXPECT_EQ(ReadFile(Name), Doc.SaveToBytes());
}

TEST(XmlFileTest, StreamsReadAndWriteTheSameBytes) {
    TXmlDoc Doc;
    FillPathway(Doc, 2);
    QBuffer Buffer;
    ASSERT_TRUE(Buffer.open(QIODevice::ReadWrite));
    Doc.SaveToStream(Buffer);
    EXPECT_EQ(Buffer.data(), Doc.SaveToBytes());
    Buffer.seek(0);
    TXmlDoc Back;
    Back.LoadFromStream(Buffer, 128);
    EXPECT_EQ(Dump(Back), Dump(Doc));
    EXPECT_EQ(Back.SaveToBytes(), Buffer.data());
}

// --- Depth ----------------------------------------------------------------------

TEST(XmlDepthTest, MillionLevelsReadWriteAndDestroy) {
    const int Depth = 1000000;
    const QByteArray Input = QByteArray("<a>").repeated(Depth) + QByteArray("</a>").repeated(Depth);
    {
        TXmlDoc Doc;
        Doc.LoadFromBytes(Input, 128);
        int Levels = 0;
        const TXmlNode* N = Doc.DocumentElement();
        const TXmlNode* Last = nullptr;
        while (N) {
            ++Levels;
            Last = N;
            N = N->HasChildNodes() ? N->ChildNodes.Get(0) : nullptr;
        }
        EXPECT_EQ(Levels, Depth);
        EXPECT_EQ(Doc.ChildNodes().Count(), 1);
        EXPECT_EQ(Last->ChildNodes.Count(), 0);

        Doc.Options.Include(doCompact);
        const QByteArray Expected =
            QByteArray("<a>").repeated(Depth - 1) + "<a/>" + QByteArray("</a>").repeated(Depth - 1);
        EXPECT_TRUE(Doc.SaveToBytes() == Expected);
    }
    {
        // Unclosed, and built by hand, then cleared.
        TXmlDoc Doc;
        Doc.LoadFromBytes(QByteArray("<a>").repeated(Depth));
        TXmlNode* N = Doc.AddChild(QStringLiteral("b"));
        for (int I = 0; I < Depth; ++I)
            N = N->AddChild(QStringLiteral("b"));
        Doc.Clear();
        EXPECT_EQ(Doc.ChildNodes().Count(), 0);
    }
}

TEST(XmlDepthTest, IndentationGrowsWithDepth) {
    TXmlDoc Doc;
    Doc.Clear();
    TXmlNode* N = Doc.AddChild(QStringLiteral("a"));
    for (int I = 0; I < 3; ++I)
        N = N->AddChild(QStringLiteral("a"));
    N->Text = QStringLiteral("deep");
    EXPECT_EQ(Doc.SaveToBytes(), QByteArray("<a>\r\n  <a>\r\n    <a>\r\n      <a>deep</a>"
                                            "\r\n    </a>\r\n  </a>\r\n</a>"));
}

} // namespace
