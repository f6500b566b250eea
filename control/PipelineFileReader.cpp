#include "control/PipelineFileReader.h"

#include "control/PipelineFiles.h"

#include <QXmlStreamReader>

#include <cstring>

namespace {

bool StartsAt(const QByteArray& content, int at, const char* prefix)
{
    const int length = static_cast<int>(std::strlen(prefix));
    return content.size() - at >= length && std::memcmp(content.constData() + at, prefix, length) == 0;
}

// The index just past the first end at or after from; -1 when there is none.
int Past(const QByteArray& content, int from, const char* end)
{
    const int found = content.indexOf(end, from);
    return found < 0 ? -1 : found + static_cast<int>(std::strlen(end));
}

std::string Text(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toString().toStdString();
}

}  // namespace

PipelineFileReader::Outcome PipelineFileReader::Read(const QByteArray& content)
{
    entries_.clear();
    bound_.clear();
    children_.clear();
    tags_ = 0;
    Outcome outcome = CheckBounds(content);
    if (outcome == Outcome::kRead)
        outcome = ReadEntries(content);
    if (outcome != Outcome::kRead)
        entries_.clear();
    return outcome;
}

const std::vector<PipelineEntry>& PipelineFileReader::Entries() const
{
    return entries_;
}

const std::string& PipelineFileReader::Bound() const
{
    return bound_;
}

PipelineFileReader::Outcome PipelineFileReader::Refuse(const std::string& bound)
{
    bound_ = bound;
    return Outcome::kBeyondBound;
}

PipelineFileReader::Outcome PipelineFileReader::CheckBounds(const QByteArray& content)
{
    // In a text of two or four bytes a character this pass would not see the markup.
    if (content.contains('\0'))
        return Outcome::kMalformed;
    int at = content.indexOf('<');
    while (at >= 0) {
        if (StartsAt(content, at, "<!--")) {
            at = Past(content, at + 4, "-->");
        } else if (StartsAt(content, at, "<![CDATA[")) {
            at = Past(content, at, "]]>");
        } else if (StartsAt(content, at, "<?")) {
            at = Past(content, at, "?>");
        } else if (StartsAt(content, at, "<!")) {
            // A document type with declarations of its own is no pipeline file's.
            const int end = content.indexOf('>', at);
            const int subset = content.indexOf('[', at);
            if (subset >= 0 && (end < 0 || subset < end))
                return Outcome::kMalformed;
            at = end;
        } else if (StartsAt(content, at, "</")) {
            if (!children_.empty())
                children_.pop_back();
            at = content.indexOf('>', at);
        } else {
            const Outcome outcome = CheckStartTag(content, at);
            if (outcome != Outcome::kRead)
                return outcome;
        }
        if (at < 0 || at >= content.size())
            break;
        at = content.indexOf('<', at);
    }
    return Outcome::kRead;
}

PipelineFileReader::Outcome PipelineFileReader::CheckStartTag(const QByteArray& content, int& at)
{
    const std::size_t depth = children_.size() + 1;
    if (depth > static_cast<std::size_t>(kMaxPipelineDepth))
        return Refuse("it nests tags more than " + std::to_string(kMaxPipelineDepth) + " deep");
    if (++tags_ > kMaxPipelineTags)
        return Refuse("it has more than " + std::to_string(kMaxPipelineTags) + " tags");
    if (depth == 2 && ++children_.back() > kMaxPipelineElements)
        return Refuse("it has more than " + std::to_string(kMaxPipelineElements) + " elements");
    if (depth > 2 && ++children_.back() > kMaxPipelineEntryChildren)
        return Refuse("an element in it has more than " + std::to_string(kMaxPipelineEntryChildren) +
                      " children");
    // One "=" outside the quoted values per attribute.
    int attributes = 0;
    for (++at; at >= 0 && at < content.size() && content[at] != '>'; ++at) {
        const char c = content[at];
        if (c == '"' || c == '\'')
            at = content.indexOf(c, at + 1);
        else if (c == '=' && ++attributes > kMaxPipelineTagAttributes)
            return Refuse("a tag in it has more than " + std::to_string(kMaxPipelineTagAttributes) +
                          " attributes");
        if (at < 0)
            return Outcome::kRead;  // unterminated: the XML reader refuses it
    }
    if (at < content.size() && content[at - 1] != '/')
        children_.push_back(0);
    return Outcome::kRead;
}

PipelineFileReader::Outcome PipelineFileReader::ReadEntries(const QByteArray& content)
{
    QXmlStreamReader reader(content);
    // Pipeline files use no namespaces, and looking prefixes up costs more the more are declared.
    reader.setNamespaceProcessing(false);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return Outcome::kMalformed;
            break;
        case QXmlStreamReader::EntityReference:
            return Outcome::kMalformed;
        case QXmlStreamReader::StartElement:
            if (++depth == 1 && reader.name() != QLatin1String("top"))
                return Outcome::kMalformed;
            StartElement(reader, depth);
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return reader.hasError() ? Outcome::kMalformed : Outcome::kRead;
}

void PipelineFileReader::StartElement(const QXmlStreamReader& reader, int depth)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    if (depth == 2) {
        entries_.push_back({Text(attributes, "id"), Text(attributes, "type"), {}, {}});
    } else if (depth == 3 && reader.name() == QLatin1String("Settings")) {
        entries_.back().settings.emplace_back(Text(attributes, "name"), Text(attributes, "value"));
    } else if (depth == 3 && reader.name() == QLatin1String("Connection")) {
        entries_.back().connections.push_back(
            {Text(attributes, "source_element"), Text(attributes, "source_name"),
             Text(attributes, "sink_element"), Text(attributes, "sink_name")});
    }
}
