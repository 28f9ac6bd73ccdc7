#pragma once

// What the author's tool tests share: comparing findings and the topic the viewer shows.
#include "author/Findings.h"
#include "author/Targets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace testing_support {

// A topic as one key, page and fragment: "Api/./X.html#a" and "api/x.html#a" are one topic,
// and so are "x.html" and "x.html#", which open the same page at its top.
inline QString TopicKey(const QString &target) {
    const qsizetype hash = target.indexOf(u'#');
    return author::PageKey(target) + u'#' + (hash < 0 ? QString() : target.mid(hash + 1));
}

// The topic the main window shows, relative to the help folder.
inline QString ShownTopic(const Viewer &viewer, const HelpFolder &folder) {
    const QString url = viewer.Url();
    const QString root = folder.Path() + u'/';
    const qsizetype at = url.indexOf(root);
    return TopicKey(at < 0 ? url : url.mid(at + root.size()));
}

// Each finding is "LINE:error|warning:part of the message", in the order given.
inline void ExpectFindings(const author::Findings &findings, const QStringList &expected,
                           const char *label) {
    QStringList got;
    for (const author::Finding &finding : findings)
        got << author::CompilerForm(finding);
    bool same = findings.size() == static_cast<size_t>(expected.size());
    for (size_t i = 0; same && i < findings.size(); ++i) {
        const QString &want = expected[static_cast<qsizetype>(i)];
        const author::Severity level = want.section(u':', 1, 1) == u"error"
                                           ? author::Severity::Error
                                           : author::Severity::Warning;
        same = findings[i].Line == want.section(u':', 0, 0).toInt() && findings[i].Level == level &&
               findings[i].Message.contains(want.section(u':', 2));
    }
    EXPECT_TRUE(same) << label << ":\n" << got.join(u'\n').toStdString();
}

} // namespace testing_support
