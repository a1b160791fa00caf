#include "CXmlDocument.h"

#include "CHttpClient.h"
#include "IsHttpLocation.h"
#include "ComError.h"
#include "ComText.h"
#include "FormatText.h"
#include "KwHandle.h"

#include <cstring>
#include <vector>

namespace {

// The version-independent DOM document class.
const CLSID kDomDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const char kDoctypeRefused[] = "a DOCTYPE is not allowed in a catalog";

// True when the word DOCTYPE appears in the text as 8-bit characters or as
// 16- or 32-bit ones, whatever the byte order, so that no encoding lets a
// declaration past.
bool MentionsDoctype(const char* text, std::size_t size)
{
    static const char kWord[] = "DOCTYPE";
    const std::size_t letters = sizeof kWord - 1;
    for (std::size_t stride : {1, 2, 4}) {
        const std::size_t span = (letters - 1) * stride + 1;
        for (const char* at = text; size >= span && at <= text + size - span; ++at) {
            at = static_cast<const char*>(std::memchr(at, 'D', static_cast<std::size_t>(text + size - span - at) + 1));
            if (at == nullptr)
                break;
            bool match = true;
            for (std::size_t i = 1; i < span && match; ++i)
                match = i % stride == 0 ? at[i] == kWord[i / stride] : at[i] == '\0';
            if (match)
                return true;
        }
    }
    return false;
}

// Reads a local file, refusing more than the limit; an endless file (a
// device, a pipe) stops there.
DWORD ReadLimitedFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    KwHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsValid())
        return GetLastError();
    const DWORD block = 64 * 1024;
    std::vector<char> buffer(block);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.data(), block, &read, nullptr))
            return GetLastError();
        if (read == 0)
            return 0;
        if (bytes.size() + read > maxBytes)
            return ERROR_FILE_TOO_LARGE;
        bytes.append(buffer.data(), read);
    }
}

} // namespace

CXmlDocument::CXmlDocument()
{
    try {
        ComPtr<IUnknown> unknown;
        ThrowIfFailed(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_SERVER, IID_IUnknown,
                                       reinterpret_cast<void**>(unknown.Put())));
        ThrowIfFailed(OleRun(unknown.Get()));
        ComPtr<IXMLDOMDocument> document;
        ThrowIfFailed(unknown.As(IID_IXMLDOMDocument, document));
        ThrowIfFailed(document->put_async(VARIANT_FALSE));
        ThrowIfFailed(document->put_preserveWhiteSpace(VARIANT_TRUE));
        m_document = document;
    } catch (const CComError& error) {
        ShowComError(error);
    }
}

CXmlDocument::~CXmlDocument() = default;

DWORD CXmlDocument::ReadLocation(const std::string& location, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    if (IsHttpLocation(location)) {
        CHttpClient client;
        return client.Fetch(location, maxBytes, bytes);
    }
    if (location.find("://") != std::string::npos)
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    return ReadLimitedFile(location, maxBytes, bytes);
}

bool CXmlDocument::LoadFromUrl(const std::string& url)
{
    std::string bytes;
    return FetchDocument(url, bytes) && ParseDocument(bytes);
}

bool CXmlDocument::FetchDocument(const std::string& url, std::string& bytes)
{
    StartLoad(url);
    bytes.clear();
    if (url.empty()) {
        m_loadError = "no location given";
        return false;
    }
    DWORD error = ReadLocation(url, kMaxDocumentBytes, bytes);
    if (error != 0) {
        m_loadError = CHttpClient::ErrorText(error);
        return false;
    }
    return true;
}

bool CXmlDocument::ParseDocument(const std::string& bytes)
{
    if (!ParseBytes(bytes))
        return false;
    m_text = bytes;
    return true;
}

bool CXmlDocument::ParseBytes(const std::string& bytes)
{
    return Parse(bytes.data(), bytes.size(), [&bytes](IXMLDOMDocument* document, VARIANT_BOOL* success) {
        // As bytes, so the parser reads the encoding the document declares.
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
        if (array == nullptr)
            return E_OUTOFMEMORY;
        ComVariant data;
        VARIANT* slot = data.Put();
        slot->vt = VT_ARRAY | VT_UI1;
        slot->parray = array;
        void* target = nullptr;
        HRESULT result = SafeArrayAccessData(array, &target);
        if (FAILED(result))
            return result;
        std::memcpy(target, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
        return document->load(data.Get(), success);
    });
}

bool CXmlDocument::LoadXml(const std::string& text)
{
    StartLoad(std::string());
    return Parse(text.data(), text.size(), [&text](IXMLDOMDocument* document, VARIANT_BOOL* success) {
        ComBstr wide = ToBstr(text);
        return document->loadXML(wide.Get(), success);
    });
}

bool CXmlDocument::ReloadOwnXml()
{
    // The text it was loaded from, parsed again, is the same document as
    // the DOM's own XML, and Wine's msxml takes most of a second to write
    // out a catalog of ten thousand updates.
    std::string text = std::move(m_text);
    StartLoad(std::string());
    if (text.empty()) {
        m_loadError = "nothing was loaded from a file or a server";
        return false;
    }
    return ParseBytes(text);
}

void CXmlDocument::StartLoad(const std::string& source)
{
    m_loaded = false;
    m_valid = false;
    m_root.Reset();
    m_source = source;
    m_text.clear();
    m_loadError.clear();
}

bool CXmlDocument::Parse(const void* text, std::size_t size, const ParseCall& parse)
{
    // Entities expand at quadratic cost and could name outside resources;
    // a catalog never needs them.
    if (MentionsDoctype(static_cast<const char*>(text), size)) {
        m_loadError = kDoctypeRefused;
        return false;
    }
    try {
        VARIANT_BOOL success = VARIANT_FALSE;
        ThrowIfFailed(parse(Document(), &success));
        if (success != VARIANT_TRUE) {
            m_loadError = ParseErrorText();
            return false;
        }
        ComPtr<IXMLDOMDocumentType> doctype;
        if (Document()->get_doctype(doctype.Put()) == S_OK && doctype) {
            m_loadError = kDoctypeRefused;
            return false;
        }
        ThrowIfFailed(Document()->get_documentElement(m_root.Put()));
        m_loaded = static_cast<bool>(m_root);
        if (!m_loaded)
            m_loadError = "the document has no root element";
        if (m_loaded)
            Validate();
    } catch (const CComError& error) {
        m_loaded = false;
        m_valid = false;
        m_root.Reset();
        m_loadError = ComErrorText(error.Code());
        ShowComError(error);
    }
    return m_loaded;
}

std::string CXmlDocument::ParseErrorText() const
{
    ComPtr<IXMLDOMParseError> error;
    ComBstr reason;
    long code = 0;
    long line = 0;
    long column = 0;
    if (SUCCEEDED(Document()->get_parseError(error.Put())) && error) {
        error->get_errorCode(&code);
        error->get_reason(reason.Put());
        error->get_line(&line);
        error->get_linepos(&column);
    }
    std::string text = FromBstr(reason.Get());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    text = FormatText("the XML parser refused it (0x%08lX%s%s)", static_cast<unsigned long>(code),
                      text.empty() ? "" : ": ", text.c_str());
    return line > 0 ? FormatText("line %ld, column %ld: %s", line, column, text.c_str()) : text;
}

bool CXmlDocument::Save(const std::string& path)
{
    if (!m_loaded)
        return false;
    if (!path.empty())
        m_source = path;
    if (m_source.empty())
        return false;
    try {
        ComVariant target;
        target.SetText(m_source);
        return Document()->save(target.Get()) == S_OK;
    } catch (const CComError&) {
        return false;
    }
}

bool CXmlDocument::Validate()
{
    m_valid = m_loaded;
    return m_valid;
}

std::string CXmlDocument::GetXml() const
{
    try {
        ComBstr xml;
        ThrowIfFailed(Document()->get_xml(xml.Put()));
        return FromBstr(xml.Get());
    } catch (const CComError&) {
        return std::string();
    }
}

XmlNodeList CXmlDocument::SelectNodes(IXMLDOMNode* node, const std::string& path) const
{
    IXMLDOMNode* context = Context(node, path);
    ComBstr query = ToBstr(path);
    XmlNodeList list;
    ThrowIfFailed(context->selectNodes(query.Get(), list.Put()));
    return list;
}

XmlNode CXmlDocument::SelectSingleNode(IXMLDOMNode* node, const std::string& path) const
{
    IXMLDOMNode* context = Context(node, path);
    ComBstr query = ToBstr(path);
    XmlNode match;
    ThrowIfFailed(context->selectSingleNode(query.Get(), match.Put()));
    return match;
}

XmlNode CXmlDocument::NextNode(IXMLDOMNodeList* list)
{
    if (list == nullptr)
        throw CComError(E_POINTER);
    XmlNode node;
    ThrowIfFailed(list->nextNode(node.Put()));
    return node;
}

std::string CXmlDocument::GetNodeText(IXMLDOMNode* node, const std::string& path) const
{
    if (node == nullptr)
        return std::string();
    try {
        return GetText(SelectSingleNode(node, path).Get());
    } catch (const CComError&) {
        return std::string();
    }
}

std::string CXmlDocument::GetText(IXMLDOMNode* node)
{
    if (node == nullptr)
        return std::string();
    ComBstr text;
    if (FAILED(node->get_text(text.Put())))
        return std::string();
    return FromBstr(text.Get());
}

void CXmlDocument::ForEachChildElement(IXMLDOMNode* node, const ChildVisitor& visit)
{
    if (node == nullptr)
        throw CComError(E_POINTER);
    XmlNode child;
    ThrowIfFailed(node->get_firstChild(child.Put()));
    while (child) {
        DOMNodeType type = NODE_INVALID;
        ThrowIfFailed(child->get_nodeType(&type));
        if (type == NODE_ELEMENT) {
            ComBstr name;
            ThrowIfFailed(child->get_nodeName(name.Put()));
            visit(FromBstr(name.Get()), child.Get());
        }
        XmlNode next;
        ThrowIfFailed(child->get_nextSibling(next.Put()));
        child = std::move(next);
    }
}

std::string CXmlDocument::GetAttribute(IXMLDOMNode* node, const std::string& name) const
{
    if (node == nullptr)
        return std::string();
    try {
        ComPtr<IXMLDOMElement> element;
        if (FAILED(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.Put()))))
            return std::string();
        ComBstr attribute = ToBstr(name);
        ComVariant value;
        if (element->getAttribute(attribute.Get(), value.Put()) != S_OK || value.Get().vt != VT_BSTR)
            return std::string();
        return FromBstr(value.Get().bstrVal);
    } catch (const CComError&) {
        return std::string();
    }
}

IXMLDOMDocument* CXmlDocument::Document() const
{
    if (!m_document)
        throw CComError(E_POINTER);
    return m_document.Get();
}

IXMLDOMNode* CXmlDocument::Context(IXMLDOMNode* node, const std::string& path) const
{
    if (!path.empty() && path[0] == '/')
        return Document();
    if (node == nullptr)
        throw CComError(E_POINTER);
    return node;
}
