#!/usr/bin/env bash
# Builds the Debian package of a build folder and checks it: the dependencies it declares, an
# install into a scratch root, the installed desktop entry, metainfo, copyright file and manual
# pages, and that the installed morvel-compose runs.
# Usage: packaging/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
work="$build/package-check"
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/out/morvel_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $work/out"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in fonts-ipafont-gothic fonts-ipafont-mincho qt6-image-formats-plugins qt6-qpa-plugins \
         libcfitsio10 libexiv2-27 liblz4-1 libzstd1 zlib1g \
         qt6-translations-l10n libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done

recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Recommends: $recommends"
for p in astrometry.net astrometry-data-tycho2-07 astrometry-data-tycho2-08 \
         astrometry-data-tycho2-09 astrometry-data-tycho2-10-19; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$recommends" || fail "Recommends lacks $p"
done

# A scratch root with an empty package database; the dependencies are not installed there.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --force-not-root --force-depends --log=/dev/null -i "$deb" \
    >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i"; }
dpkg --root="$root" -s morvel | grep -q '^Status: install ok installed' || fail "not installed"

usr="$root/usr"
for f in bin/morvel bin/morvel-compose share/applications/morvel.desktop \
         share/metainfo/io.github.morvel.Morvel.metainfo.xml share/morvel/doc/index.html \
         share/morvel/translations/morvel_en.qm \
         share/man/man1/morvel.1.gz share/man/man1/morvel-compose.1.gz; do
    [ -f "$usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x$size/apps/morvel.png"
    [ -f "$icon" ] || fail "missing $icon"
    file "$icon" | grep -q "$size x $size" || fail "$icon is not $size x $size"
done

# The copyright file in Debian's machine-readable format: the Format line first; every Files
# paragraph with its Copyright and License, each licence named there given in full somewhere.
copyright="$usr/share/doc/morvel/copyright"
[ -f "$copyright" ] || fail "missing /usr/share/doc/morvel/copyright"
format="Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
[ "$(head -n 1 "$copyright")" = "$format" ] || fail "copyright: the first line is not $format"
problems=$(awk '
    function close_paragraph() {
        if (files != "" && (!has_copyright || license == "")) print "Files: " files " lacks Copyright or License"
        if (license != "" && text) given[license] = 1
        if (files != "" && license != "" && !text) used[license] = files
        files = ""; license = ""; has_copyright = 0; text = 0; field = ""
    }
    /^$/ { close_paragraph(); next }
    /^[^ \t]/ { field = $1; sub(/:.*/, "", field) }
    field == "Files" && /^Files:/ { files = $0; sub(/^Files: */, "", files) }
    field == "Copyright" { has_copyright = 1 }
    field == "License" && /^License:/ { license = $2 }
    field == "License" && /^ / { text = 1 }
    END {
        close_paragraph()
        for (l in used) if (!(l in given)) print "licence " l " of Files: " used[l] " not given in full"
    }' "$copyright")
[ -z "$problems" ] || fail "copyright: $problems"

desktop-file-validate "$usr/share/applications/morvel.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.morvel.Morvel.metainfo.xml" ||
    fail "metainfo"
for page in morvel morvel-compose; do
    warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -man -ww -z -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

help=$("$usr/bin/morvel-compose" --help) || fail "installed morvel-compose --help"
grep -q -- "--output-dir" <<<"$help" || fail "morvel-compose --help says nothing of --output-dir"
# The installed program finds its translation: the locale decides, --lang overrides it.
for run in "C --help:^Usage:" "ja_JP.UTF-8 --help:^使い方:" "ja_JP.UTF-8 --lang=en --help:^Usage:"; do
    read -r locale args <<<"${run%%:*}"
    # shellcheck disable=SC2086
    help=$(LC_ALL= LC_MESSAGES= LANG=$locale "$usr/bin/morvel-compose" $args)
    grep -q "${run#*:}" <<<"$help" || fail "LANG=$locale morvel-compose $args: not ${run#*:}"
done
echo "Package $(basename "$deb") checked"
