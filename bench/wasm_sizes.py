#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the bytes of a .wasm go: the code of each function, by the name the
link kept (link with --profiling-funcs), summed by the first pattern of
GROUPS its demangled-enough name matches, largest first; and the data.
    wasm_sizes.py FILE.wasm [TOP]"""
import re
import sys

# What the program carries, by the names of its functions.
GROUPS = [
    ("FreeType", r"^(FT_|ft_|tt_|cff_|t1_|ps_|af_|sfnt_|pcf_|bdf_|pfr_|t42_|cid_|winfnt_|gray_|psh_|ftc_|Gzip|TT_|T1_|CFF_)"),
    ("HarfBuzz", r"(^hb_|\bOT::|\bAAT::|\bCFF::|hb_)"),
    ("libpng", r"^png_"),
    ("libjpeg", r"^(jpeg_|j[a-z]+_|jinit_|jpeg12_)"),
    ("zlib", r"^(inflate|deflate|adler32|crc32|z_|zcalloc|_tr_|zError)"),
    ("PCRE2", r"(pcre2|^_pcre2)"),
    ("Qt text layout and documents", r"(QText|QTextEngine|QTextLayout|QTextDocument|QTextBrowser|QTextEdit|QTextHtml|QCss)"),
    ("Qt accessibility", r"(QAccessible|QWasmAccessibility)"),
    ("Qt painting and images", r"(QPaint|QRaster|QImage|QPixmap|QPainterPath|QBrush|QPen|QRegion|qt_memfill|qt_blend|comp_func|qt_fetch|QT_FT_|qt_scale|QRasterizer|QDashStroker|QStroker|QTransform|QColor|QPolygon|QGradient|QBezier|QOutlineMapper)"),
    ("Qt fonts", r"(QFont|QFontEngine|QFreetype|QGlyph|QRawFont|QWasmFontDatabase)"),
    ("Qt widgets and styles", r"(QWidget|QStyle|QCommonStyle|QFusion|QWindowsStyle|QLayout|QBoxLayout|QGridLayout|QAbstract(Button|ScrollArea|Slider|Spin|ItemView)|QPushButton|QRadioButton|QCheckBox|QLineEdit|QLabel|QGroupBox|QMessageBox|QDialog|QScroll|QLCDNumber|QFrame|QMenu|QToolButton|QComboBox|QApplication|QWidgetLineControl|QWidgetTextControl|QTabBar|QToolTip|QScroller|QSizeGrip|QDialogButtonBox|QListView|QCompleter|QItemDelegate)"),
    ("Qt for WebAssembly", r"(QWasm|qstdweb|qwasm|emscripten::)"),
    ("Qt core", r"(QString|QByteArray|QList|QHash|QMap|QObject|QMeta|QVariant|QLocale|QChar|QRegularExpression|QDateTime|QDate|QTime|QCalendar|QTimeZone|QUrl|QFile|QDir|QIODevice|QSettings|QCoreApplication|QEvent|QTimer|QThread|QMimeType|QMimeDatabase|QJson|QCbor|QUtf|QTextCodec|QStringConverter|QLibraryInfo|QResource|QLogging|QDebug|qt_|Qt::|QtPrivate|QArrayData|QUnicode|QCollator|QSize|QRect|QPoint|QLine|QMargins|QAnimation|QPropertyAnimation|QVariantAnimation|QEasingCurve|QFuture|QSemaphore|QMutex|QBasicMutex|QStorageInfo|QFileSystem|QCryptographicHash|QRandom|QStandardPaths|QSortFilter|QAbstractItemModel|QItemSelection|QPersistentModelIndex|QModelIndex|QTranslator)"),
    ("Qt gui other", r"(QGui|QWindow|QScreen|QInput|QKey|QMouse|QTouch|QPlatform|QClipboard|QMimeData|QDrag|QCursor|QIcon|QPalette|QShortcut|QAction|QUndo|QDesktopServices|QValidator|QRegularExpressionValidator|QOpenGL|QSurface|QBackingStore|QHighDpi|QPointingDevice|QInputDevice|QEventPoint|QGesture|QStandardItem|QVector2D|QVector3D|QVector4D|QMatrix4x4|QQuaternion|QShader|QRhi|QFileInfo)"),
    ("the C and C++ runtime", r"^(std::|__|_ZN|_ZS|operator|malloc|free|calloc|realloc|dlmalloc|emmalloc|mem|str|printf|vfprintf|fmt_|pop_arg|wcs|mbs|qsort|strto|fwrite|fread|fopen|fclose|__cxa|abort|sbrk|emscripten_|_emscripten|stackSave|stackRestore|log|exp|pow|sin|cos|tan|atan|sqrt|floor|ceil|fmod|scalbn|frexp|ldexp|round|trunc|getenv|setlocale|tz|time|localtime|gmtime|mktime|clock|sscanf|vsscanf|snprintf|vsnprintf|sprintf|isw|tow|iswalpha|wctype|towlower|towupper|ascii|isdigit|isspace|atoi|atol|atof|abs|div|ldiv)"),
    ("Lukimo", r"(Random|Setup_config|Input_Serch|HelpWindow|HelpAccessible|HelpLink|NumberAccessible|Announcer|WrappingRows|FitsScreen|placeBeside|moveBeside|showBeside|ClickSound|Catalogue|catalogue|WaveFile|wavefile|PastData|pastdata|BoughtStore|Trace|trace|platform::|lukimo|ReportBox|ScreenWatch|boxPicks|selfDigit)"),
]


def leb(data, pos):
    result = shift = 0
    while True:
        byte = data[pos]
        pos += 1
        result |= (byte & 0x7F) << shift
        shift += 7
        if not byte & 0x80:
            return result, pos


def sections(data):
    assert data[:4] == b"\0asm", "not a WebAssembly module"
    pos = 8
    while pos < len(data):
        sid = data[pos]
        size, start = leb(data, pos + 1)
        yield sid, data[start:start + size]
        pos = start + size


def main():
    data = open(sys.argv[1], "rb").read()
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    imported = 0
    bodies = []
    names = {}
    data_bytes = 0
    for sid, body in sections(data):
        if sid == 2:  # imports: functions are numbered after the imported ones
            count, pos = leb(body, 0)
            for _ in range(count):
                for _ in range(2):
                    length, pos = leb(body, pos)
                    pos += length
                kind = body[pos]
                pos += 1
                if kind == 0:
                    imported += 1
                    _, pos = leb(body, pos)
                elif kind == 1:
                    pos += 1
                    flags, pos = leb(body, pos)
                    _, pos = leb(body, pos)
                    if flags & 1:
                        _, pos = leb(body, pos)
                elif kind == 2:
                    flags, pos = leb(body, pos)
                    _, pos = leb(body, pos)
                    if flags & 1:
                        _, pos = leb(body, pos)
                elif kind == 3:
                    pos += 2
                else:
                    _, pos = leb(body, pos)
        elif sid == 10:
            count, pos = leb(body, 0)
            for _ in range(count):
                size, start = leb(body, pos)
                bodies.append(size + (start - pos))
                pos = start + size
        elif sid == 11:
            data_bytes += len(body)
        elif sid == 0:
            length, pos = leb(body, 0)
            if body[pos:pos + length] != b"name":
                continue
            pos += length
            while pos < len(body):
                kind = body[pos]
                size, start = leb(body, pos + 1)
                if kind == 1:
                    count, p = leb(body, start)
                    for _ in range(count):
                        index, p = leb(body, p)
                        length, p = leb(body, p)
                        names[index] = body[p:p + length].decode("utf-8", "replace")
                        p += length
                pos = start + size
    if not names:
        sys.exit("the module keeps no function names: link it with --profiling-funcs")
    totals = {}
    for i, size in enumerate(bodies):
        name = names.get(imported + i, "")
        group = next((g for g, pattern in GROUPS if re.search(pattern, name)), "other")
        totals[group] = totals.get(group, 0) + size
        if top and group == "other" and size > 2000:
            print(f"    other: {size:8d} {name[:100]}", file=sys.stderr)
    code = sum(bodies)
    print(f"{'part':40s} {'bytes':>10s} {'share':>7s}")
    for group, size in sorted(totals.items(), key=lambda item: -item[1]):
        print(f"{group:40s} {size:10d} {100 * size / code:6.1f}%")
    print(f"{'code, all':40s} {code:10d}")
    print(f"{'data':40s} {data_bytes:10d}")


main()
