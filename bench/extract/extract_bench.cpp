// Times pagetext::ExtractPlainText, the full-text search's inner loop, on a generated help page
// of about 15 KB. Not part of the build. After building vellumo_core (Release or RelWithDebInfo),
// from the repository root:
//
//   c++ -O2 -std=c++20 -fPIC -Isrc $(pkg-config --cflags Qt6Core) \
//       bench/extract/extract_bench.cpp build/libvellumo_core.a \
//       $(pkg-config --libs Qt6Widgets Qt6Gui Qt6Core) -o /tmp/extract_bench
//   /tmp/extract_bench [batches]

#include "pagetext/PageText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A page shaped like the help pages the viewer shows: a head with title, style and script,
// headings, paragraphs with inline markup and links, entities, a list, a table and a <pre>.
QString makePage(qsizetype targetSize) {
    QString page = QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
        "<title>Printing a report</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n"
        "<style type=\"text/css\">\n p { margin-top: 0 } td { padding: 2px }\n</style>\n"
        "<script type=\"text/javascript\">function popup(u) { window.open(u); }</script>\n"
        "</head>\n<body bgcolor=\"#FFFFFF\">\n<h1><a name=\"top\"></a>Printing a report</h1>\n");
    for (int section = 1; page.size() < targetSize; ++section) {
        page += QStringLiteral("<h2>Step %1: choose the &quot;layout&quot;</h2>\n").arg(section);
        page += QStringLiteral(
            "<p>Open the <b>File</b> menu and click <a href=\"print.htm\">Print&hellip;</a>. "
            "The dialog shows every printer installed on this computer &mdash; choose one and "
            "press <span class=\"key\">OK</span>. If the list is empty, see "
            "<a href=\"setup.htm#printers\"><i>Setting up printers</i></a>.</p>\n"
            "<p class=\"note\"><img src=\"note.gif\" width=16 height=16 alt=\"Note\"> "
            "<font color=\"#800000\">Note:</font> reports wider than the page are scaled "
            "down, never cut&nbsp;off. Caf&eacute; &amp; na&iuml;ve characters print as "
            "shown.</p>\n<!-- reviewed 2003-04-11 -->\n"
            "<ul>\n  <li>Portrait &ndash; the default</li>\n  <li>Landscape, for wide "
            "tables</li>\n  <li>Two pages per sheet &#8212; saves paper</li>\n</ul>\n"
            "<table border=\"1\" cellpadding=\"3\" width=\"100%\">\n<tr><th>Option</th>"
            "<th>Effect</th></tr>\n<tr><td><tt>Copies</tt></td><td>How many copies to "
            "print</td></tr>\n<tr><td><tt>Collate</tt></td><td>Keeps each copy&rsquo;s pages "
            "together</td></tr>\n</table>\n"
            "<pre>  Ctrl+P      Print\n  Ctrl+Shift+P  Print preview</pre>\n");
    }
    page += QStringLiteral("<p><a href=\"#top\">Back to top</a></p>\n</body>\n</html>\n");
    return page;
}

} // namespace

int main(int argc, char **argv) {
    // Many short batches: the fastest shows the code's own speed on a busy machine, the median
    // a typical one.
    const int batches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int perBatch = 100;
    const QString page = makePage(15 * 1024);

    // Warm up caches and the allocator; the sum keeps the results from being optimised away.
    qsizetype total = 0;
    for (int i = 0; i < 200; ++i)
        total += pagetext::ExtractPlainText(page).size();

    std::vector<double> micros;
    micros.reserve(batches);
    for (int b = 0; b < batches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < perBatch; ++i)
            total += pagetext::ExtractPlainText(page).size();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        micros.push_back(std::chrono::duration<double, std::micro>(elapsed).count() / perBatch);
    }
    std::sort(micros.begin(), micros.end());

    std::printf("page: %lld characters, text: %lld characters\n",
                static_cast<long long>(page.size()),
                static_cast<long long>(pagetext::ExtractPlainText(page).size()));
    std::printf("%.2f us per page (best of %d batches of %d), median %.2f us (checksum %lld)\n",
                micros.front(), batches, perBatch, micros[micros.size() / 2],
                static_cast<long long>(total));
    return 0;
}
