#include "author/ProjectWriter.h"

#include "author/Targets.h"
#include "platform/ProgramIcon.h"
#include "project/KeywordOrder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

namespace author {

namespace {

// Look-alikes for the characters the reader splits on.
QChar replacement(QChar c) {
    switch (c.unicode()) {
    case u'@':
        return QChar(0xFF20); // fullwidth commercial at
    case u'*':
        return QChar(0x2217); // asterisk operator
    case u'%':
        return QChar(0xFF05); // fullwidth percent sign
    case u'^':
        return QChar(0x02C6); // modifier letter circumflex
    case u'[':
        return u'(';
    case u']':
        return u')';
    default:
        return u' '; // line breaks
    }
}

QString cleaned(const QString &text, QStringView forbidden, const QString &what,
                QStringList &notes) {
    QString result = text;
    QString replaced;
    for (QChar &c : result) {
        if (forbidden.contains(c) || c == u'\r' || c == u'\n') {
            if (c != u'\r' && c != u'\n' && !replaced.contains(c))
                replaced += c;
            c = replacement(c);
        }
    }
    if (!replaced.isEmpty())
        notes << QStringLiteral("replaced \"%1\" in %2 \"%3\"").arg(replaced, what, text);
    return result;
}

// The viewer follows an arriving page by the last component of its address alone, fragment
// included, and takes the first bare Contents target equal to it, so a page in a folder with
// the file name of a bare target would show that target's page instead. Such a target gets an
// empty fragment, which opens the same page under another name. When both carry the same
// fragment, which cannot change without moving the anchor, the bare one gets a "./" step:
// the tree then no longer follows that one entry. Repeated targets get "./" steps so that
// every node keeps an entry of its own.
void separateTargets(HelpModel &model, QStringList &notes) {
    QHash<QString, QString> bare; // lower-cased bare target -> its page
    for (const HelpNode &node : model.Nodes)
        if (IsBare(node.Target) && !bare.contains(node.Target.toLower()))
            bare.insert(node.Target.toLower(), PageKey(node.Target));
    const auto collides = [&](const QString &target) {
        const QString name = LastComponent(target).toLower();
        return !IsBare(target) && bare.contains(name) && bare.value(name) != PageKey(target);
    };
    // Bare targets with a fragment that a folder's target shares, and that target.
    QHash<QString, QString> stepped;
    const auto separate = [&](QString &target, const QString &what) {
        if (!collides(target))
            return;
        if (target.contains(u'#')) {
            stepped.insert(LastComponent(target).toLower(), target);
            return;
        }
        notes << QStringLiteral("re-pointed %1\"%2\" to \"%2#\": the Contents would take its "
                                "page for \"%3\"")
                     .arg(what, target, LastComponent(target));
        target += u'#';
    };
    for (HelpNode &node : model.Nodes)
        separate(node.Target, QString());
    for (IndexEntry &entry : model.Index)
        separate(entry.Target, QStringLiteral("the keyword \"%1\" from ").arg(entry.Keyword));
    for (HelpNode &node : model.Nodes)
        if (IsBare(node.Target) && stepped.contains(node.Target.toLower())) {
            notes << QStringLiteral("re-pointed \"%1\" to \"./%1\": the Contents would show it "
                                    "for \"%2\"")
                         .arg(node.Target, stepped.value(node.Target.toLower()));
            node.Target.prepend(QStringLiteral("./"));
        }
    QSet<QString> used;
    QHash<QString, int> repeats;
    for (HelpNode &node : model.Nodes) {
        QString &target = node.Target;
        // Counted per target, so that many repeats of one page stay linear.
        const QString original = target;
        int &steps = repeats[original.toLower()];
        while (used.contains(target.toLower()))
            target = QStringLiteral("./").repeated(++steps) + original;
        used.insert(target.toLower());
    }
}

QStringList settingsValues(const QString &title, const QString &icon) {
    // Windows system colours follow the desktop: window text, window, hot-tracked item.
    const QString text = QStringLiteral("-16777208");
    const QString background = QStringLiteral("-16777211");
    const QString link = QStringLiteral("-16777190");
    const QString visited = QStringLiteral("8388736"); // purple
    const QString font = QStringLiteral("Arial");
    QStringList values{QString(),
                       title,
                       icon,
                       QString(),
                       font,
                       text,
                       QStringLiteral("10"),
                       QStringLiteral("0"),
                       background,
                       link,
                       visited,
                       QString(),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       font,
                       text,
                       QStringLiteral("9"),
                       QStringLiteral("0"),
                       QString(),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("0")};
    for (const int size : {18, 15, 13, 11, 10, 10})
        values << font << text << QString::number(size) << QStringLiteral("1");
    return values;
}

QString chooseIcon(const QDir &folder, QStringList &notes, bool write) {
    const QStringList icons = folder.entryList({QStringLiteral("*.ico")}, QDir::Files, QDir::Name);
    if (!icons.isEmpty())
        return icons.first();
    const QString name = QStringLiteral("vellumo.ico");
    if (write) {
        const QImage image(platform::ProgramIconFile(32));
        if (image.isNull() || !image.save(folder.filePath(name), "ICO"))
            return QString();
        notes << QStringLiteral("wrote the icon %1").arg(name);
    }
    return name;
}

} // namespace

QStringList PrepareModel(HelpModel &model) {
    QStringList notes;
    model.Title = cleaned(model.Title, u"*", QStringLiteral("the title"), notes);
    for (HelpNode &node : model.Nodes) {
        node.Title = cleaned(node.Title, u"@*^[]", QStringLiteral("the title"), notes);
        QString target = node.Target;
        target.replace(u'\\', u'/');
        if (target.contains(QRegularExpression(QStringLiteral("[\\[\\]*^\\r\\n]")))) {
            notes << QStringLiteral("left out the page of \"%1\": \"%2\" cannot be written")
                         .arg(node.Title, target);
            target.clear();
        }
        node.Target = target;
    }
    std::vector<IndexEntry> index;
    QSet<QString> seen;
    for (IndexEntry entry : model.Index) {
        entry.Keyword = cleaned(entry.Keyword, u"@*%", QStringLiteral("the keyword"), notes);
        entry.Target.replace(u'\\', u'/');
        if (entry.Target.contains(QRegularExpression(QStringLiteral("[*%\\r\\n]")))) {
            notes << QStringLiteral("left out the keyword \"%1\": \"%2\" cannot be written")
                         .arg(entry.Keyword, entry.Target);
            continue;
        }
        const QString key = entry.Keyword + u'@' + entry.Target;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        index.push_back(entry);
    }
    model.Index = std::move(index);
    separateTargets(model, notes);
    std::stable_sort(model.Index.begin(), model.Index.end(),
                     [](const IndexEntry &a, const IndexEntry &b) {
                         return project::CompareKeywords(a.Keyword, b.Keyword) < 0;
                     });
    return notes;
}

QByteArray ProjectText(const HelpModel &model, const QString &iconFile) {
    QStringList lines;
    std::vector<bool> hasChildren(model.Nodes.size(), false);
    for (const HelpNode &node : model.Nodes)
        if (node.Parent >= 0)
            hasChildren[static_cast<size_t>(node.Parent)] = true;
    for (size_t i = 0; i < model.Nodes.size(); ++i) {
        const HelpNode &node = model.Nodes[i];
        const QString type = node.Parent < 0  ? QStringLiteral("R")
                             : hasChildren[i] ? QStringLiteral("F")
                                              : QStringLiteral("P");
        lines << QStringLiteral("[%1,%2,%3]%4@%5*")
                     .arg(i)
                     .arg(type)
                     .arg(std::max(node.Parent, 0))
                     .arg(node.Title, node.Target);
    }
    lines << QStringLiteral("^");
    for (const QString &value : settingsValues(model.Title, iconFile))
        lines << value + u'*';
    lines << QStringLiteral("^");
    for (const IndexEntry &entry : model.Index)
        lines << entry.Keyword + u'@' + entry.Target + u'*';
    lines << QStringLiteral("%");
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

WriteSummary WriteProjectFile(HelpModel model, const QString &file, bool force, QString *problem) {
    WriteSummary summary;
    const QFileInfo info(file);
    if (info.exists() && !force) {
        *problem = QStringLiteral("%1 exists; use --force to overwrite it").arg(file);
        return summary;
    }
    summary.Notes = PrepareModel(model);
    const QString icon = chooseIcon(info.absoluteDir(), summary.Notes, true);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(ProjectText(model, icon)) < 0 ||
        !out.commit()) {
        *problem = QStringLiteral("cannot write %1").arg(file);
        return summary;
    }
    summary.Nodes = static_cast<int>(model.Nodes.size());
    summary.Keywords = static_cast<int>(model.Index.size());
    summary.Home = model.Nodes.empty() ? QString() : model.Nodes.front().Target;
    return summary;
}

} // namespace author
