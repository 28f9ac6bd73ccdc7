#include "author/Targets.h"

#include "platform/Paths.h"

#include <QFileInfo>

namespace author {

QString PageKey(const QString &target) {
    QString page = target;
    const qsizetype hash = page.indexOf(u'#');
    if (hash >= 0)
        page.truncate(hash);
    page.replace(u'\\', u'/');
    while (page.startsWith(u"./"))
        page.remove(0, 2);
    page.replace(QStringLiteral("/./"), QStringLiteral("/"));
    return page.toLower();
}

QString LastComponent(const QString &target) {
    const qsizetype slash = std::max(target.lastIndexOf(u'/'), target.lastIndexOf(u'\\'));
    return target.mid(slash + 1);
}

bool IsBare(const QString &target) {
    return !target.contains(u'/') && !target.contains(u'\\');
}

bool PageExists(const QString &folder, const QString &target) {
    QString path = platform::ToWindowsPath(folder);
    if (!path.endsWith(u'\\'))
        path += u'\\';
    path += target;
    path.replace(u'/', u'\\');
    QFileInfo file(platform::ToNativePath(path));
    const qsizetype hash = path.lastIndexOf(u'#');
    if (hash >= 0 && !file.isFile())
        file = QFileInfo(platform::ToNativePath(path.left(hash)));
    return file.isFile();
}

int ShortestTopicUrl(const QString &target) {
    // "file:///C|/" + target
    return 11 + static_cast<int>(target.size());
}

} // namespace author
