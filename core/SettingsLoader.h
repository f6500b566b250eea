// The control text form of one container's settings: a small XML document with the root
// "Loader" and one "Setting" (name, value) per item, indented with tabs. The first field
// of every ParameterContainer; it points back at that container and owns nothing.
#pragma once

#include <boost/shared_ptr.hpp>

#include <string>

class ParameterContainer;

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

class SettingsLoader {
public:
    explicit SettingsLoader(ParameterContainer* container);
    SettingsLoader(const SettingsLoader&) = delete;
    SettingsLoader& operator=(const SettingsLoader&) = delete;

    // The document's text.
    std::string ToString();
    // The document: root "Loader" holding the container's settings in registration order.
    boost::shared_ptr<pugi::xml_document> ToXmlDocument();
    // Appends this loader's settings to parent as a nested "Loader" named name.
    void ToXmlNested(pugi::xml_node& parent, const std::string& name);

    // Applies a document; returns false, changing nothing, when the text is not a
    // complete well-formed document with a "Loader" element. A nested "Loader" that
    // names no loader setting throws, keeping what was applied before it.
    bool FromString(const std::string& text);
    // Applies one "Loader" element's children to the container, in document order.
    void FromXmlNode(const pugi::xml_node& loader);

private:
    void AppendSettings(pugi::xml_node& loader);

    ParameterContainer* container_;
};
