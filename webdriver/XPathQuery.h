// XPath 1.0 over a page source, evaluated by the platform's own MSXML 6
// through COM: the XML is loaded once, then any number of expressions
// select element nodes, each reported by the value of one of its
// attributes (the page source's RuntimeId), so that the caller maps the
// nodes back to its own tree without walking the DOM.
//
//   CXPathQuery query;
//   if (!query.Load(xml, &error)) ...
//   std::vector<std::string> ids;
//   if (!query.Select("//TreeItem[@Name='Archive']", "RuntimeId", &ids, &error)) ... invalid selector ...
#pragma once
#include <string>
#include <vector>

#include "common/ComOwned.h"

struct IXMLDOMDocument2;

class CXPathQuery {
public:
    CXPathQuery();
    ~CXPathQuery();
    CXPathQuery(const CXPathQuery&) = delete;
    CXPathQuery& operator=(const CXPathQuery&) = delete;

    // Parses the UTF-8 XML text; false with *pError when MSXML 6 cannot be
    // created or the text is no well-formed XML.
    bool Load(const std::string& xml, std::string* pError);
    // Selects the nodes of the expression, in document order, and gives the
    // idAttribute value of each. With a contextId the expression runs from
    // the element whose idAttribute has that value (relative paths start
    // there), else from the document. False with *pError when the expression is
    // no XPath 1.0 node-set expression or selects anything but elements.
    bool Select(const std::string& expression, const char* idAttribute, const std::string& contextId,
                std::vector<std::string>* pIds, std::string* pError) const;

private:
    bool m_bComStarted;  // first: the document is released before COM stops
    TComPtr<IXMLDOMDocument2> m_document;
};
