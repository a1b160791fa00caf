#pragma once

#include "ComApartment.h"
#include "ComPtr.h"

#include <windows.h>
#include <msxml2.h>

#include <cstddef>
#include <functional>
#include <string>

using XmlNode = ComPtr<IXMLDOMNode>;
using XmlNodeList = ComPtr<IXMLDOMNodeList>;

// An XML document read through the MSXML DOM: loaded from a URL, a path or
// a text, read through the few location paths the catalog uses, with texts
// in the process's 8-bit code page.
class CXmlDocument {
public:
    // The most a document may hold, read from a file or a server: several
    // times the largest real catalog (100 products with 200 chained updates
    // each is about 10 MB), small enough that an endless answer or file stops
    // early.
    static constexpr std::size_t kMaxDocumentBytes = 32 * 1024 * 1024;

    // Creates the DOM document; when that fails the error is shown and every
    // later use fails as with a null document.
    CXmlDocument();
    virtual ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Loads synchronously from an http:// or https:// URL (fetched with
    // CHttpClient; any status but 200 fails) or a path and validates; false
    // when it does not load. A document that cannot be fetched or parsed, is
    // larger than kMaxDocumentBytes or has a DOCTYPE fails quietly; a COM
    // error is shown in a box. An empty URL returns false and leaves the DOM
    // alone.
    virtual bool LoadFromUrl(const std::string& url);
    // The bytes at an http:// or https:// URL (any status but 200 fails) or
    // a path, refusing more than maxBytes: 0 or the Windows error code.
    static DWORD ReadLocation(const std::string& location, std::size_t maxBytes, std::string& bytes);
    // The same from XML text; the source becomes empty.
    virtual bool LoadXml(const std::string& text);
    // Saves what was loaded to the path, or to the source when the path is
    // empty; a given path becomes the source.
    virtual bool Save(const std::string& path = std::string());
    virtual bool IsValid() const { return m_valid; }
    // Called after every successful load; here valid means loaded.
    virtual bool Validate();

    // The whole document as XML text; empty when it cannot be read.
    std::string GetXml() const;

    // Evaluate a path against the node, or against the document when it
    // begins with "/". Raise CComError when the DOM fails.
    XmlNodeList SelectNodes(IXMLDOMNode* node, const std::string& path) const;
    XmlNode SelectSingleNode(IXMLDOMNode* node, const std::string& path) const;
    // The next node of a list; empty at its end. Raises CComError.
    static XmlNode NextNode(IXMLDOMNodeList* list);

    // The text of the node and its descendants for the first match of the
    // path below the node; empty when the node is none or nothing matches.
    std::string GetNodeText(IXMLDOMNode* node, const std::string& path) const;
    // The text of the node and its descendants; empty for no node.
    static std::string GetText(IXMLDOMNode* node);
    // Calls the visitor with the name of every child element of the node, in
    // document order. One walk instead of a location path per child: a
    // catalog of ten thousand updates is read in well under a second.
    // Raises CComError.
    using ChildVisitor = std::function<void(const std::string& name, IXMLDOMNode* child)>;
    static void ForEachChildElement(IXMLDOMNode* node, const ChildVisitor& visit);
    // The attribute's value; empty when the node is none, lacks it or the
    // DOM fails.
    std::string GetAttribute(IXMLDOMNode* node, const std::string& name) const;

    // The document element of the current load; null while nothing is loaded.
    IXMLDOMElement* GetRoot() const { return m_root.Get(); }
    const std::string& GetSource() const { return m_source; }
    bool IsLoaded() const { return m_loaded; }
    // Why the last load failed, for a person; empty when it succeeded.
    const std::string& GetLoadError() const { return m_loadError; }

protected:
    void SetValid(bool valid) { m_valid = valid; }
    // LoadFromUrl in two halves, so the bytes can be checked in between:
    // forgets the previous load and reads the bytes (false, with the reason
    // kept, when they cannot be read); then parses them and validates.
    bool FetchDocument(const std::string& url, std::string& bytes);
    bool ParseDocument(const std::string& bytes);
    // Loads the document again from the bytes the last ParseDocument read,
    // so the copy holds exactly what was loaded; the source becomes empty.
    // False when there are none (a LoadXml came since) or they fail to parse.
    bool ReloadOwnXml();

private:
    using ParseCall = std::function<HRESULT(IXMLDOMDocument* document, VARIANT_BOOL* success)>;

    // Forgets the previous load.
    void StartLoad(const std::string& source);
    // Refuses a text that declares a DOCTYPE, then parses it and validates.
    bool Parse(const void* text, std::size_t size, const ParseCall& parse);
    // Parses the bytes in the encoding they declare.
    bool ParseBytes(const std::string& bytes);
    std::string ParseErrorText() const;
    IXMLDOMDocument* Document() const;
    IXMLDOMNode* Context(IXMLDOMNode* node, const std::string& path) const;

    // Declared first so COM outlives every reference below.
    ComApartment m_apartment;
    std::string m_source;
    // What the last LoadFromUrl read, kept for ReloadOwnXml.
    std::string m_text;
    ComPtr<IXMLDOMDocument> m_document;
    ComPtr<IXMLDOMElement> m_root;
    bool m_loaded = false;
    bool m_valid = false;
    std::string m_loadError;
};
