#include "author/Findings.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace author {

namespace {

QString levelName(Severity level) {
    return level == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

} // namespace

QString CompilerForm(const Finding &finding) {
    return QStringLiteral("%1:%2: %3: %4")
        .arg(finding.File)
        .arg(finding.Line)
        .arg(levelName(finding.Level), finding.Message);
}

QString JsonLine(const Finding &finding) {
    const QJsonObject object{{QStringLiteral("file"), finding.File},
                             {QStringLiteral("line"), finding.Line},
                             {QStringLiteral("severity"), levelName(finding.Level)},
                             {QStringLiteral("message"), finding.Message}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool HasErrors(const Findings &findings) {
    for (const Finding &finding : findings)
        if (finding.Level == Severity::Error)
            return true;
    return false;
}

} // namespace author
