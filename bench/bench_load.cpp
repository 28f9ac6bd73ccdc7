// Times the start-up's project load on a large help project: 10,000 Contents records in nested
// books and 10,000 Index keywords, generated in memory and written to a temporary folder.
//
//   bench_load [RUNS] [CONTENTS] [KEYWORDS]
//
// Three figures, each as minimum and median over RUNS runs:
//   reader    project::ReadHelpProject with a sink that keeps nothing (the parse alone);
//   create    constructing TForm1: layout, wiring, FormCreate (discovery, file read, decoding);
//   load      TForm1::LoadHelpProject(ProjectText): the tree, the hidden lists, the sorted Index.
// The window is never shown, so no page is loaded. Any platform does; offscreen is the default.

#include "BenchStats.h"
#include "app/Globals.h"
#include "app/Unit1.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "project/ProjectReader.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char *const Words[] = {
    "account",   "address",    "archive",   "backup",    "balance",    "batch",       "border",
    "browse",    "buffer",     "calendar",  "cancel",    "catalogue",  "channel",     "chart",
    "clipboard", "column",     "command",   "compress",  "connect",    "consignment", "convert",
    "courier",   "currency",   "customer",  "database",  "default",    "delete",      "depot",
    "desktop",   "dialog",     "directory", "discount",  "display",    "document",    "download",
    "draft",     "drive",      "edit",      "email",     "export",     "field",       "filter",
    "folder",    "font",       "footer",    "format",    "freight",    "graph",       "header",
    "history",   "import",     "index",     "install",   "invoice",    "journal",     "keyboard",
    "label",     "layout",     "ledger",    "library",   "licence",    "margin",      "memory",
    "menu",      "merge",      "network",   "option",    "order",      "pallet",      "password",
    "payroll",   "permission", "preview",   "printer",   "profile",    "project",     "query",
    "rebate",    "record",     "refund",    "register",  "remittance", "report",      "restore",
    "schedule",  "screen",     "search",    "security",  "server",     "session",     "settings",
    "shipment",  "shortcut",   "sort",      "spelling",  "stock",      "supplier",    "surcharge",
    "table",     "tariff",     "tax",       "template",  "toolbar",    "transfer",    "update",
    "upgrade",   "user",       "voucher",   "warehouse", "waybill",    "window",      "wizard",
    "workspace", "zoom"};
const char *const Verbs[] = {"adding",     "changing", "checking",  "choosing", "creating",
                             "deleting",   "editing",  "exporting", "finding",  "importing",
                             "moving",     "opening",  "printing",  "renaming", "saving",
                             "setting up", "sorting",  "using",     "viewing",  "closing"};

constexpr int WordCount = sizeof(Words) / sizeof(Words[0]);
constexpr int VerbCount = sizeof(Verbs) / sizeof(Verbs[0]);

QString word(QRandomGenerator &rng) {
    return QString::fromLatin1(Words[rng.bounded(WordCount)]);
}

QString verb(QRandomGenerator &rng) {
    return QString::fromLatin1(Verbs[rng.bounded(VerbCount)]);
}

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// Contents records in pre-order: top-level books of 5-20 entries, books nested three levels
// deep at most (pages on a fourth), each entry's parent number the creation number of its book.
class ContentsWriter {
public:
    ContentsWriter(QRandomGenerator &rng, int count) : rng(rng), count(count) {}

    QStringList Records() {
        while (created < count)
            book(QStringLiteral("R"), 0, 1);
        return records;
    }

private:
    void add(const QString &type, int parent, const QString &title) {
        records << QStringLiteral("[%1,%2,%3]%4@topic%5.htm*")
                       .arg(created)
                       .arg(type)
                       .arg(parent)
                       .arg(title)
                       .arg(created, 5, 10, QChar(u'0'));
        ++created;
    }

    void book(const QString &type, int parent, int depth) {
        const int number = created;
        add(type, parent, capitalised(word(rng)) + u' ' + word(rng));
        const int entries = 5 + static_cast<int>(rng.bounded(16));
        for (int i = 0; i < entries && created < count; ++i) {
            if (depth < 3 && rng.bounded(100) < 25)
                book(QStringLiteral("F"), number, depth + 1);
            else
                add(QStringLiteral("P"), number, capitalised(verb(rng)) + u' ' + word(rng) + u's');
        }
    }

    QRandomGenerator &rng;
    int count;
    int created = 0;
    QStringList records;
};

// Index records sorted alphabetically without regard to case, as help authors write them.
QStringList indexRecords(QRandomGenerator &rng, int count, int topics) {
    QStringList keywords;
    keywords.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (rng.bounded(4)) {
        case 0:
            keywords << word(rng);
            break;
        case 1:
            keywords << word(rng) + QStringLiteral(", ") + verb(rng);
            break;
        case 2:
            keywords << capitalised(word(rng)) + u' ' + word(rng);
            break;
        default:
            keywords << word(rng) + QStringLiteral(", ") + word(rng) + u' ' + word(rng);
            break;
        }
    }
    std::stable_sort(keywords.begin(), keywords.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList records;
    records.reserve(count);
    for (const QString &keyword : keywords)
        records << QStringLiteral("%1@topic%2.htm*")
                       .arg(keyword)
                       .arg(static_cast<int>(rng.bounded(topics)), 5, 10, QChar(u'0'));
    return records;
}

QString makeProject(int contents, int keywords) {
    QRandomGenerator rng(20240611);
    QStringList lines = ContentsWriter(rng, contents).Records();
    lines << QStringLiteral("^");
    lines << testing_support::SettingsLines(
        {{2, QStringLiteral("Large Help")}, {3, QStringLiteral("help.ico")}});
    lines << indexRecords(rng, keywords, contents);
    lines << QStringLiteral("%");
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

class NullSink : public project::ProjectSink {
public:
    void ContentsRecord(const QString &, const QString &, int) override { ++records; }
    void ContentsEnd() override {}
    void Setting(int, const QString &, int) override {}
    void IndexRecord(const QString &) override { ++records; }
    int records = 0;
};

void printRow(const char *name, const std::vector<double> &values, const char *what) {
    const Stats s = stats(values);
    std::printf("%-8s %10.2f %10.2f   %s\n", name, s.min, s.median, what);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumo"));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int contents = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;
    const int keywords = argc > 3 ? std::max(0, std::atoi(argv[3])) : 10000;

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_load: cannot make a temporary folder\n");
        return 1;
    }
    const QString text = makeProject(contents, keywords);
    {
        QFile file(folder.filePath(QStringLiteral("help.vlp")));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
            std::fprintf(stderr, "bench_load: cannot write the project file\n");
            return 1;
        }
    }
    platform::SetMessageBoxHandler([](const QString &, const QString &) {});
    platform::SetCommandLine(QStringLiteral("Z:\\opt\\vellumo\\vellumo ") +
                             platform::ToWindowsPath(folder.filePath(QStringLiteral("help.vlp"))));

    std::vector<double> reader;
    std::vector<double> create;
    std::vector<double> load;
    std::vector<double> total;
    int handedOn = 0;
    int nodes = 0;
    int indexEntries = 0;
    int topLevel = 0;
    int deepest = 0;
    // One run more than counted: the first warms the allocator, the fonts and the style.
    for (int run = 0; run <= runs; ++run) {
        NullSink sink;
        QElapsedTimer timer;
        timer.start();
        project::ReadHelpProject(text, sink);
        const double readerMs = msSince(timer);
        handedOn = sink.records;

        timer.restart();
        auto *form = new TForm1;
        Form1 = form;
        const double createMs = msSince(timer);
        timer.restart();
        form->LoadHelpProject(ProjectText);
        const double loadMs = msSince(timer);
        nodes = static_cast<int>(NodeTable.size());
        indexEntries = form->ListBox1->count();
        topLevel = form->TreeView1->topLevelItemCount();
        for (const TTreeNode *node : NodeTable) {
            int depth = 1;
            for (const TTreeNode *up = node->parent(); up; up = up->parent())
                ++depth;
            deepest = std::max(deepest, depth);
        }
        delete form;
        Form1 = nullptr;
        QApplication::processEvents();

        if (run == 0)
            continue;
        reader.push_back(readerMs);
        create.push_back(createMs);
        load.push_back(loadMs);
        total.push_back(createMs + loadMs);
    }

    std::printf("bench_load: platform %s, project %.1f KB: %d contents records, %d index "
                "records (%d handed on by the reader)\n",
                qPrintable(QGuiApplication::platformName()),
                static_cast<double>(text.toUtf8().size()) / 1024.0, contents, keywords, handedOn);
    std::printf("bench_load: after a load, %d Contents nodes (%d top-level books, %d levels) and "
                "%d Index entries; %d runs after one warm-up\n",
                nodes, topLevel, deepest, indexEntries, runs);
    std::printf("%-8s %10s %10s\n", "step", "min ms", "median ms");
    printRow("reader", reader, "ReadHelpProject, sink keeps nothing");
    printRow("create", create, "new TForm1 (layout, FormCreate: read and decode)");
    printRow("load", load, "LoadHelpProject(ProjectText)");
    printRow("total", total, "create + load");
    return 0;
}
