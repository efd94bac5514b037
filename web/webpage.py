#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The build steps of the browser page that are not compiling:

  webpage.py maskable OUT.svg ICON.svg COLOUR
      the icon drawn inside the safe zone of a full-bleed square, for
      launchers that cut icons to their own shape
  webpage.py package ZIP FOLDER VERSION QT-PLUGIN NAME=SOURCE...
      the page's folder and its zip: every file named, the manifest and the
      service worker made from their templates with the version and a hash
      of the files, so that one published version is cached as one set and
      a page can tell it from another by that name alone; the page's policy
      admits the style sheet of the Qt platform plugin linked
"""

import hashlib
import os
import re
import shutil
import sys
import zipfile


def maskable(out, icon, colour):
    drawing = open(icon, encoding='utf-8').read()
    drawing = re.sub(r'<\?xml[^>]*\?>', '', drawing)
    drawing = re.sub(r'<!--.*?-->', '', drawing, flags=re.S).strip()
    view = re.search(r'viewBox="([^"]+)"', drawing).group(1).split()
    size = float(view[2])
    # The safe zone is the centred circle of 80 % of the width; the icon's
    # rounded square fits in it at 62 %.
    inner = size * 0.62
    offset = (size - inner) / 2
    drawing = re.sub(r'<svg\b[^>]*>', '<svg x="%g" y="%g" width="%g" height="%g" viewBox="%s">' %
                     (offset, offset, inner, inner, ' '.join(view)), drawing, count=1)
    with open(out, 'w', encoding='utf-8') as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="%g" height="%g" viewBox="0 0 %g %g">\n'
                '<rect width="%g" height="%g" fill="%s"/>\n%s\n</svg>\n' %
                (size, size, size, size, size, size, colour, drawing))


# The page's whole Content-Security-Policy; each source says why it is there
# (the README has the same list).
CSP = [
    # Nothing that is not named below.
    "default-src 'none'",
    # qtloader.js and lukimo.js from the page's own folder; the page's one
    # inline script by its hash; compiling the .wasm.
    "script-src 'self' 'wasm-unsafe-eval' {scripts}",
    # The page's inline style by its hash; Qt's own style sheet, which its
    # platform plugin adds to the page as a <style> element, by its own.
    "style-src {styles}",
    # The program's .wasm and .data, fetched by the loader; the service
    # worker's copies of every file.
    "connect-src 'self'",
    # The icons; Qt draws the windows' title-bar buttons from data: images.
    "img-src 'self' data:",
    "manifest-src 'self'",
    "worker-src 'self'",
    "base-uri 'none'",
    "form-action 'none'",
    "object-src 'none'",
]

def sha256_source(text):
    import base64
    data = text if isinstance(text, bytes) else text.encode('utf-8')
    return "'sha256-%s'" % base64.b64encode(hashlib.sha256(data).digest()).decode()


def qt_style_hashes(plugin):
    """Qt's wasm platform plugin adds its style sheet to the page as a
    <style> element, whose text is a string in the plugin: the policy names
    the hash of the one in the plugin this build links, whatever its Qt."""
    with open(plugin, 'rb') as f:
        found = re.findall(rb'\n\.qt-screen \{[^\0]*(?=\0)', f.read())
    if len(found) != 1:
        sys.exit('%s: %d style sheets of Qt\'s found, where one was expected' % (plugin, len(found)))
    return [sha256_source(found[0])]


def page_with_policy(text, qt_styles):
    scripts = re.findall(r'<script>(.*?)</script>', text, flags=re.S)
    styles = re.findall(r'<style>(.*?)</style>', text, flags=re.S)
    policy = '; '.join(CSP).format(
        scripts=' '.join(sha256_source(t) for t in scripts),
        styles=' '.join([sha256_source(t) for t in styles] + qt_styles))
    return text.replace('@LUKIMO_CSP@', policy)


def package(zip_path, folder, version, qt_plugin, entries):
    qt_styles = qt_style_hashes(qt_plugin)
    files = {}
    for entry in entries:
        name, source = entry.split('=', 1)
        files[name] = source
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    names = sorted(files)
    for name in names:
        target = os.path.join(folder, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if name == 'index.html':
            text = open(files[name], encoding='utf-8').read()
            # What a first visit shows its progress against: the bytes of
            # the program the page fetches, as they arrive uncompressed.
            program = sum(os.path.getsize(files[n]) for n in ('lukimo.wasm', 'lukimo.data'))
            text = text.replace('@LUKIMO_PROGRAM_BYTES@', str(program))
            with open(target, 'w', encoding='utf-8') as f:
                f.write(page_with_policy(text, qt_styles))
        elif name != 'sw.js':
            shutil.copyfile(files[name], target)
    # The set's identity: every other file's name and content, so that any
    # change publishes a new set, which the service worker checks file by
    # file as it caches it.
    sums = {}
    digest = hashlib.sha256()
    for name in names:
        if name == 'sw.js':
            continue
        with open(os.path.join(folder, name), 'rb') as f:
            sums[name] = hashlib.sha256(f.read()).hexdigest()
        digest.update(name.encode() + b'\0' + sums[name].encode())
    cache_hash = digest.hexdigest()[:16]
    text = open(files['sw.js'], encoding='utf-8').read()
    text = text.replace('@LUKIMO_VERSION@', version).replace('@LUKIMO_CACHE_HASH@', cache_hash)
    text = text.replace('@LUKIMO_FILES@', ',\n    '.join(
        "'./%s': '%s'" % ('' if n == 'index.html' else n, sums[n]) for n in sorted(sums)))
    # The page reads the published version from this line of sw.js (with
    # the server's answer never taken from a store), so it must be there as
    # the page expects it.
    named = re.findall(r"^const CACHE = '([^']+)';$", text, flags=re.M)
    if named != ['lukimo-%s-%s' % (version, cache_hash)]:
        sys.exit('sw.js: the line naming the cache is %r, not as index.html reads it' % named)
    with open(os.path.join(folder, 'sw.js'), 'w', encoding='utf-8') as f:
        f.write(text)
    tmp = zip_path + '.tmp'
    with zipfile.ZipFile(tmp, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in names:
            info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(folder, name), 'rb') as f:
                z.writestr(info, f.read())
    os.replace(tmp, zip_path)
    print('%s: %d files, cache lukimo-%s-%s' % (zip_path, len(names), version, cache_hash))


def main(argv):
    if len(argv) == 5 and argv[1] == 'maskable':
        maskable(argv[2], argv[3], argv[4])
    elif len(argv) >= 6 and argv[1] == 'package':
        package(argv[2], argv[3], argv[4], argv[5], argv[6:])
    else:
        sys.exit(__doc__)


if __name__ == '__main__':
    main(sys.argv)
