#include "CXmlDocument.h"

#include "ComError.h"
#include "ComText.h"

namespace {

// The version-independent DOM document class.
const CLSID kDomDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

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

bool CXmlDocument::LoadFromUrl(const std::string& url)
{
    return Load(url, false);
}

bool CXmlDocument::LoadXml(const std::string& text)
{
    return Load(text, true);
}

bool CXmlDocument::Load(const std::string& source, bool fromText)
{
    m_loaded = false;
    m_valid = false;
    m_root.Reset();
    m_source = fromText ? std::string() : source;
    if (!fromText && source.empty())
        return false;
    try {
        VARIANT_BOOL success = VARIANT_FALSE;
        if (fromText) {
            ComBstr text = ToBstr(source);
            ThrowIfFailed(Document()->loadXML(text.Get(), &success));
        } else {
            ComVariant url;
            url.SetText(source);
            ThrowIfFailed(Document()->load(url.Get(), &success));
        }
        if (success == VARIANT_TRUE) {
            ThrowIfFailed(Document()->get_documentElement(m_root.Put()));
            m_loaded = static_cast<bool>(m_root);
        }
        if (m_loaded)
            Validate();
    } catch (const CComError& error) {
        m_loaded = false;
        m_valid = false;
        m_root.Reset();
        ShowComError(error);
    }
    return m_loaded;
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
        XmlNode match = SelectSingleNode(node, path);
        if (!match)
            return std::string();
        ComBstr text;
        ThrowIfFailed(match->get_text(text.Put()));
        return FromBstr(text.Get());
    } catch (const CComError&) {
        return std::string();
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
