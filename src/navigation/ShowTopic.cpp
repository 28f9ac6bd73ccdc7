#include "app/Unit1.h"
#include "platform/MessageBox.h"
#include "project/Record.h"

QString TForm1::MakeTopicURL(const QString &path) {
    return navigation::MakeTopicURL(path);
}

void TForm1::ShowTopic(const QString &entry, navigation::LengthRule rule, const QString &text,
                       const QString &caption) {
    const QString url = navigation::MakeTopicURL(HelpDir + project::TopicTarget(entry));
    if (navigation::PassesLengthRule(url, rule))
        HTML1->RequestDoc(url);
    else
        platform::MessageBoxA(text, caption);
}
