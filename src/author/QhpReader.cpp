#include "author/QhpReader.h"

#include <QXmlStreamReader>

namespace author {

QhpProject ReadQhp(const QByteArray &bytes) {
    QhpProject project;
    QString filterName;
    QXmlStreamReader xml(bytes);
    std::vector<std::vector<QhpSection> *> open{&project.Toc};
    int sections = 0; // open section elements, also those too deep to keep
    constexpr size_t MaxDepth = 200;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (name == u"section") {
                ++sections;
                auto *list = open.back();
                list->push_back({attributes.value(QLatin1String("title")).toString(),
                                 attributes.value(QLatin1String("ref")).toString(),
                                 {}});
                if (open.size() < MaxDepth)
                    open.push_back(&list->back().Children);
            } else if (name == u"keyword") {
                if (attributes.hasAttribute(QLatin1String("ref")))
                    project.Keywords.push_back({attributes.value(QLatin1String("name")).toString(),
                                                attributes.value(QLatin1String("ref")).toString()});
            } else if (name == u"customFilter" && filterName.isEmpty()) {
                filterName = attributes.value(QLatin1String("name")).toString().trimmed();
            }
        } else if (xml.isEndElement() && xml.name() == u"section") {
            if (static_cast<size_t>(sections) <= open.size() - 1 && open.size() > 1)
                open.pop_back();
            --sections;
        }
    }
    if (xml.hasError())
        project.Error = xml.errorString();
    project.Title = project.Toc.size() == 1 ? project.Toc.front().Title : filterName;
    return project;
}

} // namespace author
