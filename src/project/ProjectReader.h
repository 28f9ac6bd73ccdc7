#pragma once

#include <QString>

namespace project {

// What the reader hands on, in file order, as it reads a help project text.
class ProjectSink {
public:
    virtual ~ProjectSink() = default;
    // A contents record ended by its "*": the body, the entry type and parent number of the
    // last complete header.
    virtual void ContentsRecord(const QString &body, const QString &type, int parent) = 0;
    // The contents section is over.
    virtual void ContentsEnd() = 0;
    // Settings value k (1..47), with the line of the file it stands on. May throw.
    virtual void Setting(int k, const QString &value, int line) = 0;
    // An index record ended by its "*".
    virtual void IndexRecord(const QString &body) = 0;
    // The line of the "*" that ends the record handed on next; for tools that point at lines.
    virtual void RecordLine(int line) { (void)line; }
};

// Reads a non-empty help project text in one forward pass: the contents section up to the
// first "^", the 47 settings values, the index section up to the first "%". A header number
// that is no integer, or a "*" inside an unclosed header, raises platform::EConvertError
// naming the line; so does whatever the sink raises. What was handed on before stays handed on.
void ReadHelpProject(const QString &text, ProjectSink &sink);

} // namespace project
