#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser's Japanese font, which it does not have itself:

  fontsubset.py OUT FONT CATALOGUE.ts PAGE.html...

writes a subset of FONT with the characters of the catalogue's translations
and of the pages, and those a user may type into the past-data field, and
fails, naming them, when FONT lacks any.
"""

import html.parser
import os
import sys
import xml.etree.ElementTree as ElementTree


# What a Japanese user's input method shows in the field besides the
# catalogue's characters: the ideographic space and CJK punctuation, kana
# (with the sound marks) as it is composed, and full-width and half-width
# forms of digits, letters and katakana. Kanji beyond the catalogue's stay
# out: the JIS level-1 set alone is some 400 kB.
TYPED_RANGES = [(0x3000, 0x3020), (0x3030, 0x3037), (0x303B, 0x303D), (0x3041, 0x3096), (0x3099, 0x30FF),
                (0xFF01, 0xFF5E), (0xFF61, 0xFF9F)]


def typed_text():
    return ''.join(chr(c) for first, last in TYPED_RANGES for c in range(first, last + 1))


def catalogue_text(path):
    """The texts of the catalogue's translations, numerus forms included."""
    text = []
    for message in ElementTree.parse(path).getroot().iter('message'):
        translation = message.find('translation')
        if translation is None:
            continue
        text.append(translation.text or '')
        text.extend(form.text or '' for form in translation.iter('numerusform'))
    return ''.join(text)


class PageText(html.parser.HTMLParser):
    """What a page shows: its text and its attributes' alternative texts."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.hidden = 0

    def handle_starttag(self, tag, attrs):
        if tag in ('style', 'script'):
            self.hidden += 1
        for name, value in attrs:
            if name in ('alt', 'title') and value:
                self.parts.append(value)

    def handle_endtag(self, tag):
        if tag in ('style', 'script'):
            self.hidden -= 1

    def handle_data(self, data):
        if not self.hidden:
            self.parts.append(data)


def page_text(path):
    parser = PageText()
    with open(path, encoding='utf-8') as page:
        parser.feed(page.read())
    return ''.join(parser.parts)


def font(out, font_file, catalogue, pages):
    from fontTools import subset
    from fontTools.ttLib import TTFont

    text = catalogue_text(catalogue) + ''.join(page_text(p) for p in pages) + typed_text()
    # Line breaks and tabs are layout, not glyphs.
    wanted = sorted({c for c in text if c.isprintable()})
    available = set(TTFont(font_file).getBestCmap())
    lacking = [c for c in wanted if ord(c) not in available]
    if lacking:
        sys.exit('%s lacks %d character(s) the program shows: %s' %
                 (font_file, len(lacking), ' '.join('U+%04X %s' % (ord(c), c) for c in lacking)))
    options = subset.Options()
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    options.layout_features = ['*']
    options.hinting = False
    options.desubroutinize = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in wanted])
    whole = TTFont(font_file)
    subsetter.subset(whole)
    os.makedirs(os.path.dirname(out) or '.', exist_ok=True)
    whole.save(out + '.tmp')
    kept = set(TTFont(out + '.tmp').getBestCmap())
    lost = [c for c in wanted if ord(c) not in kept]
    if lost:
        os.remove(out + '.tmp')
        sys.exit('the subset of %s lost: %s' % (font_file, ' '.join(lost)))
    os.replace(out + '.tmp', out)
    print('font subset: %d characters, %d bytes' % (len(wanted), os.path.getsize(out)))



if __name__ == '__main__':
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
