#!/usr/bin/env python3
"""Writes a large help project for timing the Text Search tab.

    gen_search_corpus.py OUT_DIR [--pages N] [--page-size BYTES] [--phrase TEXT]
                                 [--share FRACTION] [--seed N]

OUT_DIR receives N pages (page0001.htm ...), a style sheet, an icon and help.vlp (CR LF line
breaks, Windows-1252 text). Every page has a Contents entry: pages are grouped in books three
levels deep, written in pre-order, and each book's topic is a page too. The phrase appears in
about FRACTION of the pages, in several letter cases, always inside one text run, so that a
plain `grep -il` on the files finds the same pages the viewer's search does.

Standard library only; the same seed gives the same bytes.
"""

import argparse
import os
import random
import struct
import sys

WORDS = """
able about above accept access account across action active actual adapter add address
adjust advance after again agent align allow almost alone along already also alter always
amount anchor angle another answer append apply archive area argument arrange array arrow
aside assign attach attempt author automatic available average avoid back backup balance
bar base batch become before begin behaviour below beside between binary blank block board
body bold book border bottom boundary box branch break bright browse buffer build bundle
button cache calendar call cancel capture card careful carry case catalogue cause cell centre
chain change channel chapter character chart check choice choose circle class clear click
client clip close code collect colour column combine command comment common compare complete
compress condition confirm connect consider contain content context continue control convert
copy corner correct count cover create current cursor custom cycle daily damage data date
decide default define delay delete depend describe design desktop detail device dialog
direct directory disable discard disk display divide document domain double down draft drag
draw drive drop during each early edge edit effect either element empty enable enter entire
entry equal error even event every exact example exchange exist expand expect export extend
extra factor field figure file fill filter final find finish first fixed flag folder follow
font footer force form format forward frame free front full function further gather general
given global group guide handle header heading height help hidden highlight history hold
home horizontal host icon identify image import include index indicate inside install
instead interval item join journal keep key label language large last later layer layout
leave left legend length letter level library limit line link list load local locate lock
long lookup machine main manage manual margin mark master match maximum measure medium
memory menu merge message method middle minimum mode modify module monitor month move name
narrow native navigate near network never next node normal note notice number object offset
often open option order origin other outline output outside overview owner page pane panel
paper paragraph parent part paste path pattern pause period place plain point policy portion
position preview previous print priority process profile program project prompt property
protect provide publish queue quick range rather reach read ready record recover reduce
refer refresh region register release remove rename repeat replace report request require
reset resize resource restore result return review right root rotate round row rule sample
save scale scan schedule screen scroll search second section select send separate sequence
series server session setting share sheet shift short show side sign simple single size skip
small sort source space special split stack standard start state status step store string
structure style subject submit summary support switch symbol system table target task
template term test text theme thread tile time title toggle tool total track transfer tree
type undo unit update upper usage user value version vertical view visible volume warning
week weight while whole width window within word work wrap write year zone
""".split()

TERMS = """
ledger invoice voucher payroll stocktake consignment waybill tariff rebate surcharge
warehouse depot pallet manifest courier docket requisition remittance carrier freight
""".split()

PHRASE_FORMS = [
    lambda p: p,
    lambda p: p,
    lambda p: p,
    lambda p: p.title(),
    lambda p: p[:1].upper() + p[1:],
    lambda p: p.upper(),
]

STYLE = """body { font-family: Arial, sans-serif; font-size: 10pt; margin: 8px }
h1 { font-size: 16pt; color: #003366 }
h2 { font-size: 13pt; color: #003366; border-bottom: 1px solid #c0c0c0 }
h3 { font-size: 11pt }
table.grid { border-collapse: collapse }
table.grid td, table.grid th { border: 1px solid #808080; padding: 2px 4px }
.note { background: #ffffe0; border: 1px solid #e0e0a0; padding: 4px }
code, tt { font-family: "Courier New", monospace }
"""


def sentence(rng, low=6, high=18):
    words = [rng.choice(WORDS if rng.random() > 0.08 else TERMS)
             for _ in range(rng.randint(low, high))]
    words[0] = words[0].capitalize()
    if len(words) > 8 and rng.random() < 0.4:
        words[rng.randint(3, len(words) - 3)] += ","
    return " ".join(words) + rng.choice(".....?!")


def title(rng):
    words = [rng.choice(WORDS) for _ in range(rng.randint(2, 4))]
    return " ".join(w.capitalize() if i == 0 else w for i, w in enumerate(words))


class PageWriter:
    def __init__(self, rng, count, phrase):
        self.rng = rng
        self.count = count
        self.phrase = phrase

    def link(self):
        target = self.rng.randint(1, self.count)
        return '<a href="%s">%s</a>' % (page_name(target), title(self.rng).lower())

    def inline(self, text):
        """Sprinkles inline markup and entities over a sentence."""
        rng = self.rng
        words = text.split(" ")
        for i in range(len(words)):
            r = rng.random()
            if r < 0.03:
                words[i] = "<b>%s</b>" % words[i]
            elif r < 0.05:
                words[i] = "<i>%s</i>" % words[i]
            elif r < 0.06:
                words[i] = "<code>%s</code>" % words[i]
            elif r < 0.075:
                words[i] = self.link()
            elif r < 0.085:
                words[i] = words[i] + " &amp;"
            elif r < 0.09:
                words[i] = "%d&nbsp;%s" % (rng.randint(2, 99), words[i])
            elif r < 0.095:
                words[i] = "caf&eacute;" if rng.random() < 0.5 else "caf\u00e9"
            elif r < 0.10:
                words[i] = "&quot;%s&quot;" % words[i]
        return " ".join(words)

    def paragraph(self, phrase=None):
        rng = self.rng
        sentences = [self.inline(sentence(rng)) for _ in range(rng.randint(2, 6))]
        if phrase:
            words = sentence(rng).split(" ")
            at = rng.randint(1, len(words) - 1)
            if rng.random() < 0.3:
                phrase = "<b>%s</b>" % phrase
            words.insert(at, phrase)
            sentences.insert(rng.randint(0, len(sentences)), " ".join(words))
        return "<p>%s</p>\n" % " ".join(sentences)

    def block(self):
        rng = self.rng
        r = rng.random()
        if r < 0.2:
            items = "".join("  <li>%s</li>\n" % self.inline(sentence(rng, 3, 10))
                            for _ in range(rng.randint(3, 7)))
            tag = "ol" if rng.random() < 0.3 else "ul"
            return "<%s>\n%s</%s>\n" % (tag, items, tag)
        if r < 0.32:
            rows = "".join(
                "<tr><td><tt>%s</tt></td><td>%s</td><td align=\"right\">%d</td></tr>\n"
                % (rng.choice(WORDS).capitalize(), sentence(rng, 3, 9), rng.randint(1, 9999))
                for _ in range(rng.randint(3, 8)))
            return ('<table class="grid" cellspacing="0" width="100%%">\n'
                    "<tr><th>Option</th><th>Effect</th><th>Default</th></tr>\n%s</table>\n"
                    % rows)
        if r < 0.40:
            return ('<p class="note"><img src="note.gif" width="16" height="16" alt="Note"> '
                    "<b>Note:</b> %s</p>\n" % self.inline(sentence(rng)))
        if r < 0.45:
            return "<pre>  %s\n  %s</pre>\n" % (sentence(rng, 2, 5), sentence(rng, 2, 5))
        if r < 0.48:
            return "<!-- %s -->\n" % sentence(rng)
        return self.paragraph()

    def page(self, number, page_title, size, phrase_count):
        rng = self.rng
        keywords = ", ".join(rng.choice(WORDS) for _ in range(6))
        head = (
            '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\n'
            "<html>\n<head>\n"
            '<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">\n'
            '<meta name="keywords" content="%s">\n'
            "<title>%s</title>\n"
            '<link rel="stylesheet" type="text/css" href="help.css">\n'
            '<style type="text/css">\n  p { margin-top: 4px }\n  td { vertical-align: top }\n'
            "</style>\n</head>\n"
            '<body bgcolor="#FFFFFF">\n<a name="top"></a>\n<h1>%s</h1>\n'
            % (keywords, page_title, page_title))
        tail = ('<hr>\n<p><a href="#top">Back to top</a> | %s | %s</p>\n</body>\n</html>\n'
                % (self.link(), self.link()))
        parts = [head]
        length = len(head) + len(tail)
        blocks = []
        section = 0
        while length < size:
            if section == 0 or rng.random() < 0.12:
                section += 1
                text = "<h2>%s</h2>\n" % title(rng)
            elif rng.random() < 0.08:
                text = "<h3>%s</h3>\n" % title(rng)
            else:
                text = self.block()
            blocks.append(text)
            length += len(text)
        # The phrase goes into paragraphs spread over the page.
        for _ in range(phrase_count):
            form = rng.choice(PHRASE_FORMS)(self.phrase)
            blocks.insert(rng.randint(1, len(blocks)), self.paragraph(form))
        parts.extend(blocks)
        parts.append(tail)
        return "".join(parts)


def page_name(number):
    return "page%04d.htm" % number


def contents(rng, count):
    """Contents records for pages 1..count: books of 5-20 entries, three levels, pre-order.
    Each record is (type, parent creation number, page number)."""
    records = []

    def book(kind, parent, depth):
        number = len(records)
        records.append((kind, parent, len(records) + 1))
        for _ in range(rng.randint(5, 20)):
            if len(records) >= count:
                return
            if depth < 3 and rng.random() < 0.25:
                book("F", number, depth + 1)
            else:
                records.append(("P", number, len(records) + 1))

    while len(records) < count:
        book("R", 0, 1)
    return records[:count]


def settings(help_title, icon_file="help.ico"):
    """The 47 settings values of a plain project, then the "^" that ends them."""
    values = ["", help_title, icon_file, "", "Arial", "0", "10", "0", "16777215",
              "16711680", "255", "", "0", "0", "0", "Arial", "0", "8", "0", "", "0", "0", "0"]
    for size in (18, 16, 14, 12, 10, 8):
        values += ["Arial", "8388608", str(size), "1"]
    assert len(values) == 47
    return [v + "*" for v in values] + ["^"]


def icon():
    """A 16x16, 32-bit Windows icon: a blue book on a transparent ground."""
    pixels = bytearray()
    for y in range(16):  # bottom-up rows, BGRA
        for x in range(16):
            inside = 2 <= x <= 13 and 1 <= y <= 14
            pixels += bytes((160, 60, 20, 255)) if inside else bytes((0, 0, 0, 0))
    mask = bytes(4 * 16)  # 32-bit rows of the AND mask, all opaque (alpha decides)
    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    image = header + pixels + mask
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(image), 6 + 16) + image)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out_dir")
    parser.add_argument("--pages", type=int, default=2000)
    parser.add_argument("--page-size", type=int, default=15 * 1024)
    parser.add_argument("--phrase", default="tidewater synchronisation")
    parser.add_argument("--share", type=float, default=0.10)
    parser.add_argument("--seed", type=int, default=4711)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    os.makedirs(args.out_dir, exist_ok=True)
    writer = PageWriter(rng, args.pages, args.phrase)
    records = contents(rng, args.pages)
    titles = {}
    phrase_pages = 0
    exact_pages = 0
    total = 0
    for kind, _, number in records:
        page_title = title(rng)
        if kind != "P":
            page_title = page_title + " " + rng.choice(("Overview", "Basics", "Reference"))
        titles[number] = page_title
        count = 0
        if rng.random() < args.share:
            count = rng.choice((1, 1, 1, 2, 3))
        html = writer.page(number, page_title, args.page_size, count)
        if count:
            phrase_pages += 1
            if args.phrase in html:
                exact_pages += 1
        data = html.encode("cp1252")
        total += len(data)
        with open(os.path.join(args.out_dir, page_name(number)), "wb") as f:
            f.write(data)

    with open(os.path.join(args.out_dir, "help.css"), "w", newline="\n") as f:
        f.write(STYLE)
    with open(os.path.join(args.out_dir, "help.ico"), "wb") as f:
        f.write(icon())

    lines = []
    for i, (kind, parent, number) in enumerate(records):
        lines.append("[%d,%s,%d]%s@%s*" % (i, kind, parent, titles[number], page_name(number)))
    lines.append("^")
    lines += settings("Tidewater Operations Help")
    keywords = {}
    for number in range(1, args.pages + 1):
        for _ in range(rng.randint(1, 3)):
            words = titles[number].lower().split(" ")
            pick = rng.sample(words, min(len(words), rng.randint(1, 2)))
            key = ", ".join(pick) if len(pick) == 2 and rng.random() < 0.5 else " ".join(pick)
            keywords.setdefault(key, number)
    for key in sorted(keywords, key=lambda k: (k.lower(), k)):
        lines.append("%s@%s*" % (key, page_name(keywords[key])))
    lines.append("%")
    with open(os.path.join(args.out_dir, "help.vlp"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))

    print("gen_search_corpus: %d pages, %.1f MB, %d contents records, %d index entries"
          % (args.pages, total / 1e6, len(records), len(keywords)))
    print("gen_search_corpus: phrase \"%s\" on %d pages (%d of them in exactly that case)"
          % (args.phrase, phrase_pages, exact_pages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
