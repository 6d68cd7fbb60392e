#include "ribbon_msxml.h"

#include <msxml2.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_call.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::host {
namespace {
using win32::Bstr;
using win32::ComPtr;

// MSXML 6's DOMDocument60: mingw-w64's headers name only the older versions' classes.
constexpr CLSID kDomDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};

// An attribute's value, empty or not, when the element has it.
std::optional<std::string> AttributeIfAny(IXMLDOMElement* element, const wchar_t* name) {
  Bstr wanted(name);
  win32::Variant value;
  if (element->getAttribute(wanted.Get(), value.Put()) != S_OK || value.Type() != VT_BSTR) return std::nullopt;
  return win32::ToText(value, "getAttribute");
}

std::string Attribute(IXMLDOMElement* element, const wchar_t* name) {
  return AttributeIfAny(element, name).value_or("");
}

std::string LocalName(IXMLDOMNode* node) {
  Bstr name;
  if (FAILED(node->get_baseName(name.Put())) || !name.Get()) return "";
  return name.Text();
}

std::vector<ComPtr<IXMLDOMElement>> ChildElements(IXMLDOMNode* node) {
  std::vector<ComPtr<IXMLDOMElement>> elements;
  ComPtr<IXMLDOMNode> child;
  node->get_firstChild(child.Put());
  while (child) {
    DOMNodeType type = NODE_INVALID;
    ComPtr<IXMLDOMElement> element;
    if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT)
      child->QueryInterface(IID_IXMLDOMElement, element.PutVoid());
    if (element) elements.push_back(element);
    ComPtr<IXMLDOMNode> next;
    child->get_nextSibling(next.Put());
    child = std::move(next);
  }
  return elements;
}

// Controls are the elements with an id, groups and tabs aside, each with the menu holding it.
void Collect(IXMLDOMNode* node, const std::string& menu, std::vector<sim::RibbonControl>& out) {
  for (const auto& child : ChildElements(node)) {
    const std::string kind = LocalName(child.Get());
    const std::string id = Attribute(child.Get(), L"id");
    if (id.empty() || kind == "group" || kind == "tab") {
      Collect(child.Get(), menu, out);
      continue;
    }
    sim::RibbonControl control{id, kind, Attribute(child.Get(), L"label"), menu, {}, false, true, std::nullopt};
    for (const wchar_t* attribute : {L"onAction", L"getPressed", L"getEnabled", L"getImage"})
      if (auto named = AttributeIfAny(child.Get(), attribute)) control.callbacks[win32::Narrow(attribute)] = *named;
    out.push_back(std::move(control));
    if (kind == "menu") Collect(child.Get(), id, out);
  }
}
}  // namespace

sim::RibbonXml ParseRibbonXml(BSTR text) {
  ComPtr<IXMLDOMDocument> document;
  if (const HRESULT hr =
          CoCreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, document.PutVoid());
      FAILED(hr) || !document) {
    std::ostringstream message;
    message << "CoCreateInstance of MSXML 6's DOMDocument60 failed: 0x" << std::hex << static_cast<std::uint32_t>(hr);
    throw std::runtime_error(message.str());
  }
  document->put_async(VARIANT_FALSE);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  if (document->loadXML(text, &loaded) != S_OK || loaded != VARIANT_TRUE) {
    ComPtr<IXMLDOMParseError> error;
    Bstr reason;
    if (SUCCEEDED(document->get_parseError(error.Put())) && error) error->get_reason(reason.Put());
    throw std::runtime_error("the ribbon XML is not well formed: " + (reason.Get() ? reason.Text() : "?"));
  }
  ComPtr<IXMLDOMElement> root;
  document->get_documentElement(root.Put());
  Bstr rootName;
  if (!root || FAILED(root->get_nodeName(rootName.Put())) || rootName.Text() != "customUI")
    throw std::runtime_error("the ribbon XML has no customUI element");
  Bstr xmlNamespace;
  root->get_namespaceURI(xmlNamespace.Put());
  sim::RibbonXml xml{xmlNamespace.Get() ? xmlNamespace.Text() : "", Attribute(root.Get(), L"onLoad"), {}};
  Collect(root.Get(), "", xml.controls);
  return xml;
}

}  // namespace rowtint::host
