#include "core/SettingsLoader.h"

#include "core/ParameterContainer.h"

#include <boost/any.hpp>
#include <pugixml.hpp>

#include <sstream>
#include <typeinfo>

SettingsLoader::SettingsLoader(ParameterContainer* container) : container_(container) {}

std::string SettingsLoader::ToString()
{
    std::ostringstream text;
    ToXmlDocument()->save(text, "\t", pugi::format_indent);
    return text.str();
}

boost::shared_ptr<pugi::xml_document> SettingsLoader::ToXmlDocument()
{
    boost::shared_ptr<pugi::xml_document> document(new pugi::xml_document);
    pugi::xml_node root = document->append_child("Loader");
    AppendSettings(root);
    return document;
}

void SettingsLoader::ToXmlNested(pugi::xml_node& parent, const std::string& name)
{
    pugi::xml_node nested = parent.append_child("Loader");
    nested.append_attribute("name").set_value(name.c_str());
    AppendSettings(nested);
}

void SettingsLoader::AppendSettings(pugi::xml_node& loader)
{
    for (const auto& pair : container_->GetNameValuePairs()) {
        ParameterItem& item = container_->FindItem(pair.first);
        if (item.value.type() == typeid(SettingsLoader*)) {
            boost::any_cast<SettingsLoader*>(item.value)->ToXmlNested(loader, pair.first);
            continue;
        }
        pugi::xml_node setting = loader.append_child("Setting");
        setting.append_attribute("name").set_value(pair.first.c_str());
        setting.append_attribute("value").set_value(pair.second.c_str());
    }
}

bool SettingsLoader::FromString(const std::string& text)
{
    pugi::xml_document document;
    // Only a complete document is applied: a truncated one must not change some settings.
    if (!document.load_buffer(text.data(), text.size()))
        return false;
    pugi::xml_node root = document.child("Loader");
    if (!root)
        return false;
    FromXmlNode(root);
    return true;
}

void SettingsLoader::FromXmlNode(const pugi::xml_node& loader)
{
    for (pugi::xml_node child = loader.first_child(); child; child = child.next_sibling()) {
        const std::string kind = child.name();
        const std::string name = child.attribute("name").as_string();
        if (kind == "Setting") {
            container_->SetValue(name, child.attribute("value").as_string(), "");
        } else if (kind == "Loader") {
            ParameterItem& item = container_->FindItem(name);
            boost::any_cast<SettingsLoader*>(item.value)->FromXmlNode(child);
        }
    }
}
