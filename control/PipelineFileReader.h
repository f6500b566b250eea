// Reads a pipeline file's text into its entries in passes that each take time in
// proportion to the text, and refuses, before any entry is kept, a text that is not
// well-formed XML rooted in "top", declares or uses entities, or exceeds one of the bounds
// of PipelineFiles.h. Used by the pipeline store for every load, and on every save to
// check that the file would load back. One reader per text; no shared state.
#pragma once

#include "control/PipelineEntry.h"

#include <QByteArray>

#include <string>
#include <vector>

class QXmlStreamReader;

class PipelineFileReader {
public:
    enum class Outcome { kRead, kMalformed, kBeyondBound };

    // Entries and the bound are those of the last Read.
    Outcome Read(const QByteArray& content);
    // The entries in file order; empty unless the text was read.
    const std::vector<PipelineEntry>& Entries() const;
    // The bound a refused text exceeds, in words such as "it has more than 20000 elements".
    const std::string& Bound() const;

private:
    // A pass over the bytes alone, which refuses a text beyond a bound before the XML
    // reader meets it: that reader checks a tag's attributes for repeats in time that
    // grows with the square of their number, and costs more per byte. Exact for a
    // well-formed text; what it makes of another does not matter, as the reader refuses it.
    Outcome CheckBounds(const QByteArray& content);
    // Counts the start tag at at and moves at to its end.
    Outcome CheckStartTag(const QByteArray& content, int& at);
    Outcome Refuse(const std::string& bound);
    // The second pass: well-formedness and the entries.
    Outcome ReadEntries(const QByteArray& content);
    void StartElement(const QXmlStreamReader& reader, int depth);

    std::vector<PipelineEntry> entries_;
    std::string bound_;
    // Children counted so far of each open element, outermost first (first pass).
    std::vector<int> children_;
    int tags_ = 0;
};
