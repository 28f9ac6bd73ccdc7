// Times the Text Search tab on a real X server: the main window and the extractor window are
// started as the viewer starts them, then the search button is pressed for one phrase in both
// letter-case modes, several times each: first searches, which read every page afresh, and
// repeated ones, which find the pages unchanged since the search before.
//
//   bench_search HELP_FOLDER PHRASE [RUNS] [MODES] [-- COMMAND ARG...]
//
// Run it under Xvfb (the xcb platform); bench/run does. For each mode it prints the first
// search's time, then the minimum and median of RUNS more, and the number of results. MODES
// limits the run to some modes ("0", "1"; both by default), which keeps a profile to one of them.
// The peak resident memory is printed last.
// A COMMAND after "--" (say grep -ril PHRASE HELP_FOLDER) is a yardstick: it is run right after
// each timed search, so that each search has a partner timed under the same machine load, and
// the medians of the per-pair ratios, wall time and processor time, are printed too. All times
// are in ms; "cpu" is processor time, user and system. Lines starting with "search ",
// "search-repeat " and "memory " are key=value pairs for scripts.

#include "BenchStats.h"
#include "app/Globals.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "search/PageCache.h"
#include "search/SearchMatch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

// Processor time of this process (all threads), in ms. On a busy machine it moves far less than
// the wall time.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Processor time, user and system, of the children waited for so far, in ms.
double childrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The most memory this process has held resident so far, in MB.
double peakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

struct Timing {
    double wallMs;
    double cpuMs;
};

// Runs the yardstick command to its end, its output thrown away.
Timing runYardstick(const QStringList &command) {
    QProcess process;
    process.setProgram(command.first());
    process.setArguments(command.mid(1));
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const double cpuBefore = childrenCpuMs();
    QElapsedTimer timer;
    timer.start();
    process.start();
    process.waitForFinished(-1);
    return {msSince(timer), childrenCpuMs() - cpuBefore};
}

// Lets the events posted so far run, as a user's idle moment would.
void settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

// The first ".vlp" entry of the folder, as the viewer itself would find it.
QString projectFile(const QString &folder) {
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries)
        if (entry.toLower().endsWith(u".vlp"))
            return QDir(folder).filePath(entry);
    return {};
}

} // namespace

int main(int argc, char *argv[]) {
    // The point is the real windows: default to X11 rather than whatever the session offers.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumo"));

    QStringList positional;
    QStringList yardstick;
    bool afterDashes = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (!afterDashes && argument == u"--")
            afterDashes = true;
        else
            (afterDashes ? yardstick : positional) << argument;
    }
    if (positional.size() < 2) {
        std::fprintf(stderr,
                     "usage: bench_search HELP_FOLDER PHRASE [RUNS] [MODES] [-- COMMAND ARG...]\n");
        return 2;
    }
    const QString folder = QFileInfo(positional.at(0)).absoluteFilePath();
    const QString phrase = positional.at(1);
    const int runs = positional.size() > 2 ? std::max(1, positional.at(2).toInt()) : 5;
    const QString modes = positional.size() > 3 ? positional.at(3) : QStringLiteral("01");
    const QString project = projectFile(folder);
    if (project.isEmpty()) {
        std::fprintf(stderr, "bench_search: no .vlp file in %s\n", qPrintable(folder));
        return 2;
    }
    const QString platformName = QGuiApplication::platformName();
    if (platformName != u"xcb")
        std::fprintf(stderr,
                     "bench_search: warning: platform '%s', not xcb; the figures are not "
                     "those of a real X server\n",
                     qPrintable(platformName));

    int messages = 0;
    platform::SetMessageBoxHandler([&messages](const QString &, const QString &) { ++messages; });
    platform::SetCommandLine(QStringLiteral("Z:\\opt\\vellumo\\vellumo ") +
                             platform::ToWindowsPath(project));

    QElapsedTimer startUp;
    startUp.start();
    TForm1 form1;
    Form1 = &form1;
    TForm2 form2;
    Form2 = &form2;
    form1.show();
    const bool exposed = QTest::qWaitForWindowExposed(&form1, 10000);
    settle();
    const double startUpMs = msSince(startUp);
    const double startUpRss = peakResidentMb();
    // CACHE_MB caps the page cache below its default, to show the memory a first search needs
    // once the cache is full.
    if (const char *cacheMb = std::getenv("CACHE_MB"); cacheMb && *cacheMb)
        search::PageCache::Shared().SetCapacity(qint64(std::atof(cacheMb) * 1024 * 1024));
    double peakAfterFirst = 0;

    int candidates = 0;
    const std::optional<QStringList> names = platform::ListDirectory(form1.HelpDir);
    if (names)
        for (const QString &name : *names)
            if (search::IsCandidatePage(name.toLower()))
                ++candidates;

    std::printf("bench_search: platform %s, window %s, start-up %.0f ms, %d message(s)\n",
                qPrintable(platformName), exposed ? "exposed" : "NOT exposed", startUpMs, messages);
    std::printf("bench_search: folder %s: %lld entries, %d candidate pages, %d Contents nodes\n",
                qPrintable(folder), static_cast<long long>(names ? names->size() : 0), candidates,
                static_cast<int>(NodeTable.size()));
    std::printf("bench_search: phrase \"%s\", %d timed runs per mode after a first one\n",
                qPrintable(phrase), runs);

    // The user opens the Text Search tab and types the phrase.
    form1.PageControl1->setCurrentWidget(form1.TabSheet3);
    form1.Edit1->setText(phrase);
    settle();

    if (!yardstick.isEmpty()) {
        std::printf("bench_search: yardstick after each timed search: %s\n",
                    qPrintable(yardstick.join(u' ')));
        for (int i = 0; i < 3; ++i)
            runYardstick(yardstick); // warms the page cache
    }

    // Wall times are what a user waits; processor times move far less on a busy machine.
    // A first search reads every page afresh (the page cache is emptied before it); a repeated
    // one finds the pages of the search before it unchanged.
    std::printf("%-24s %8s %8s %8s %8s %7s", "mode", "first", "min", "median", "cpu", "results");
    if (!yardstick.isEmpty())
        std::printf(" %8s %8s %7s %7s", "yard", "yard cpu", "ratio", "cpu");
    std::printf("\n");
    const char *const modeNames[] = {"case-insensitive", "case-sensitive"};
    for (const bool repeated : {false, true}) {
        for (int mode = 0; mode < 2; ++mode) {
            if (!modes.contains(QChar(u'0' + mode)))
                continue;
            form1.RadioGroup1->SetItemIndex(mode);
            form1.RadioGroup1Click();
            settle();
            double first = 0;
            std::vector<double> wall;
            std::vector<double> cpu;
            std::vector<double> yardWall;
            std::vector<double> yardCpu;
            std::vector<double> ratios;
            std::vector<double> cpuRatios;
            for (int run = 0; run <= runs; ++run) {
                if (!repeated)
                    search::PageCache::Shared().Clear();
                // Each press searches for what the edit box holds.
                form1.Edit1->setText(phrase);
                const double cpuBefore = processCpuMs();
                QElapsedTimer timer;
                timer.start();
                form1.BitBtn1Click();
                const double elapsed = msSince(timer);
                const double cpuUsed = processCpuMs() - cpuBefore;
                settle(); // the result list repaints between presses, as it would for a user
                if (run == 0) {
                    first = elapsed;
                    continue;
                }
                wall.push_back(elapsed);
                cpu.push_back(cpuUsed);
                if (!yardstick.isEmpty()) {
                    const Timing partner = runYardstick(yardstick);
                    yardWall.push_back(partner.wallMs);
                    yardCpu.push_back(partner.cpuMs);
                    ratios.push_back(elapsed / partner.wallMs);
                    if (partner.cpuMs > 0)
                        cpuRatios.push_back(cpuUsed / partner.cpuMs);
                }
            }
            const Stats s = stats(wall);
            const double cpuMedian = stats(cpu).median;
            const int results = form1.ListBox5->count();
            const QString name =
                QString::fromLatin1(modeNames[mode]) + (repeated ? ", repeat" : "");
            std::printf("%-24s %8.1f %8.1f %8.1f %8.1f %7d", qPrintable(name), first, s.min,
                        s.median, cpuMedian, results);
            const bool paired = !yardstick.isEmpty();
            const double yardMedian = paired ? stats(yardWall).median : 0;
            const double yardCpuMedian = paired ? stats(yardCpu).median : 0;
            const double ratio = paired ? stats(ratios).median : 0;
            const double cpuRatio = paired && !cpuRatios.empty() ? stats(cpuRatios).median : 0;
            if (paired)
                std::printf(" %8.1f %8.1f %7.1f %7.1f", yardMedian, yardCpuMedian, ratio, cpuRatio);
            std::printf("\n");
            std::printf("%s mode=%d first_ms=%.1f min_ms=%.1f median_ms=%.1f cpu_ms=%.1f "
                        "results=%d candidates=%d",
                        repeated ? "search-repeat" : "search", mode, first, s.min, s.median,
                        cpuMedian, results, candidates);
            if (paired)
                std::printf(" yardstick_ms=%.1f yardstick_cpu_ms=%.1f paired_ratio=%.2f "
                            "cpu_ratio=%.2f",
                            yardMedian, yardCpuMedian, ratio, cpuRatio);
            std::printf("\n");
        }
        if (!repeated)
            peakAfterFirst = peakResidentMb();
    }
    // Resident memory: after start-up, at its highest during the first searches and overall,
    // with the cached page text at the end.
    std::printf("memory startup_rss_mb=%.1f first_search_peak_rss_mb=%.1f peak_rss_mb=%.1f "
                "cache_mb=%.1f\n",
                startUpRss, peakAfterFirst, peakResidentMb(),
                double(search::PageCache::Shared().Size()) / (1024 * 1024));
    std::fflush(stdout);

    Form2 = nullptr;
    return 0;
}
