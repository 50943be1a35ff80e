// MSXML 6 as the XPath 1.0 engine of the page source.
#include "webdriver/XPathQuery.h"

#include <windows.h>
#include <msxml2.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace {

// mingw-w64's libraries lack it: {2933BF95-7B36-11D2-B20E-00C04F983E60}.
const IID kIidXmlDomDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

std::string Utf8(const wchar_t* pszWide, size_t nLength) {
    if (!pszWide || nLength == 0) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, pszWide, static_cast<int>(nLength), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, pszWide, static_cast<int>(nLength), &utf8[0], n, nullptr, nullptr);
    return utf8;
}

COwnedBstr Bstr(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    return COwnedBstr(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

// What MSXML said about the last failure on this thread, when it said anything.
std::string ComErrorText(const char* pszFallback) {
    TComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        COwnedBstr text;
        if (SUCCEEDED(info->GetDescription(text.Put())) && text.Get() && SysStringLen(text.Get())) {
            std::string message = Utf8(text.Get(), SysStringLen(text.Get()));
            while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
            return message;
        }
    }
    return pszFallback;
}

VARIANT BoolVariant(bool b) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

}  // namespace

CXPathQuery::CXPathQuery() : m_bComStarted(false) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // RPC_E_CHANGED_MODE: COM is already started on this thread another way,
    // which serves as well; it is not ours to stop then.
    m_bComStarted = SUCCEEDED(hr);
}

CXPathQuery::~CXPathQuery() {
    // The document goes before the apartment it lives in.
    m_document.Reset();
    if (m_bComStarted) CoUninitialize();
}

bool CXPathQuery::Load(const std::string& xml, std::string* pError) {
    m_document.Reset();
    TComPtr<IXMLDOMDocument2> document;
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument2, document.PutVoid())) ||
        !document) {
        *pError = "MSXML 6 (Msxml2.DOMDocument.6.0) is not available";
        return false;
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->setProperty(COwnedBstr(SysAllocString(L"ProhibitDTD")).Get(), BoolVariant(true));
    COwnedBstr language(SysAllocString(L"SelectionLanguage"));
    COwnedVariant xpath;
    xpath.Put()->vt = VT_BSTR;
    xpath.Get().bstrVal = SysAllocString(L"XPath");
    if (FAILED(document->setProperty(language.Get(), xpath.Get()))) {
        *pError = "MSXML refused XPath as its selection language";
        return false;
    }
    COwnedBstr text = Bstr(xml);
    VARIANT_BOOL bLoaded = VARIANT_FALSE;
    if (!text.Get() || FAILED(document->loadXML(text.Get(), &bLoaded)) || bLoaded != VARIANT_TRUE) {
        *pError = "the page source could not be parsed as XML";
        return false;
    }
    m_document = std::move(document);
    return true;
}

bool CXPathQuery::Select(const std::string& expression, const char* idAttribute, const std::string& contextId,
                         std::vector<std::string>* pIds, std::string* pError) const {
    pIds->clear();
    if (!m_document) {
        *pError = "no page source is loaded";
        return false;
    }
    COwnedBstr query = Bstr(expression);
    if (!query.Get()) {
        *pError = "the expression is empty";
        return false;
    }
    TComPtr<IXMLDOMNode> context;
    if (contextId.empty()) {
        // The document is a node (IXMLDOMDocument derives from IXMLDOMNode).
        context = TComPtr<IXMLDOMNode>::AddRefed(m_document.Get());
    } else if (contextId.find_first_of("'\"") == std::string::npos) {
        COwnedBstr path = Bstr("//*[@" + std::string(idAttribute) + "='" + contextId + "']");
        m_document->selectSingleNode(path.Get(), context.Put());
    }
    if (!context) {
        *pError = "the element to search from is not in the page source";
        return false;
    }
    TComPtr<IXMLDOMNodeList> nodes;
    SetErrorInfo(0, nullptr);
    if (FAILED(context->selectNodes(query.Get(), nodes.Put())) || !nodes) {
        *pError = "'" + expression + "' is no XPath 1.0 expression that selects nodes: " +
                  ComErrorText("MSXML refused it");
        return false;
    }
    COwnedBstr attributeName = Bstr(idAttribute);
    for (;;) {
        TComPtr<IXMLDOMNode> node;
        if (nodes->nextNode(node.Put()) != S_OK || !node) break;
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type != NODE_ELEMENT) {
            *pError = "'" + expression + "' selects something other than elements";
            pIds->clear();
            return false;
        }
        TComPtr<IXMLDOMNamedNodeMap> attributes;
        TComPtr<IXMLDOMNode> attribute;
        COwnedBstr value;
        if (SUCCEEDED(node->get_attributes(attributes.Put())) && attributes &&
            attributes->getNamedItem(attributeName.Get(), attribute.Put()) == S_OK && attribute &&
            SUCCEEDED(attribute->get_text(value.Put())) && value.Get()) {
            pIds->push_back(Utf8(value.Get(), SysStringLen(value.Get())));
        }
    }
    return true;
}
