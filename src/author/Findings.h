#pragma once

#include <QString>
#include <vector>

namespace author {

enum class Severity { Error, Warning };

// One thing `vlp check` has to say about a line of a project file.
struct Finding {
    QString File;
    int Line = 1;
    Severity Level = Severity::Warning;
    QString Message;
};

using Findings = std::vector<Finding>;

// "FILE:LINE: error: MESSAGE", the form editors and CI jump from.
QString CompilerForm(const Finding &finding);

// The same finding as one line of JSON: {"file":..,"line":..,"severity":..,"message":..}.
QString JsonLine(const Finding &finding);

bool HasErrors(const Findings &findings);

} // namespace author
