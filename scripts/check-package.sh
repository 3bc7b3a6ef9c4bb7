#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), has lintian check it (no
# errors allowed; warnings are shown), installs it into this machine with
# apt-get as a user would, and checks what a user gets: the files in their
# places, the command line run by an ordinary user (the version, the bundled
# samples converted and published, the settings then in that user's
# ~/.config/tellavin/), the manual pages, the bash completion, the AppStream
# metadata and the menu entry. Last it removes the package and checks that
# nothing of it is left under /usr. The package is removed however the
# checks end.
#
# Needs root, as installing a package does, and a machine where Tellavin is
# not installed already (that copy is left alone: the check is skipped). The
# ordinary user is "tellavin-check", made with useradd when missing; its home
# for the check is a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped (installing a package needs root)"
  exit 0
fi
if dpkg-query -W -f='${Status}' tellavin 2>/dev/null | grep -q "installed"; then
  echo "skipped (a tellavin package is installed on this machine already)"
  exit 0
fi

started=$SECONDS
scripts/package.sh
deb=$(ls "$PWD"/build/package/tellavin_*.deb)
echo "built $deb in $((SECONDS - started)) s ($(du -k "$deb" | cut -f 1) KiB)"
echo "Depends: $(dpkg-deb --field "$deb" Depends)"

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | { grep -v "^running with root privileges" || true; }

started=$SECONDS
user=tellavin-check
id -u "$user" >/dev/null 2>&1 || useradd --no-create-home --shell /usr/sbin/nologin "$user"
home=$(mktemp -d)
chown "$user" "$home"
cleanup() {
  if dpkg-query -W -f='${Status}' tellavin 2>/dev/null | grep -q "installed"; then
    DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq tellavin >/dev/null
  fi
  rm -rf "$home"
}
trap cleanup EXIT

fail() {
  echo "package check failed: $*" >&2
  exit 1
}
# Compares what a step gave with what it should give, naming the step.
same() {
  [ "$2" = "$3" ] || fail "$1:"$'\n'"$2"$'\n'"-- expected --"$'\n'"$3"
}
as_user() {
  (cd "$home" && runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@")
}

echo "== apt-get install $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null

files=$(dpkg-query --listfiles tellavin | while read -r path; do
  [ -d "$path" ] || echo "$path"
done | sort)
same "the package's files" "$files" "/usr/bin/tellavin
/usr/bin/tellavin-cli
/usr/share/applications/tellavin.desktop
/usr/share/bash-completion/completions/tellavin-cli
/usr/share/doc/tellavin/changelog.Debian.gz
/usr/share/doc/tellavin/copyright
/usr/share/icons/hicolor/scalable/apps/tellavin.svg
/usr/share/man/man1/tellavin-cli.1.gz
/usr/share/man/man1/tellavin.1.gz
/usr/share/metainfo/example.tellavin.Tellavin.metainfo.xml
/usr/share/tellavin/ColorPreset.ini
/usr/share/tellavin/Help.html"

version=$(dpkg-deb --field "$deb" Version)
same "tellavin-cli --version" "$(as_user tellavin-cli --version)" "tellavin-cli ${version%-*}"

# The user may not be able to read the checkout: what it needs is copied.
cp -r resources/samples "$home/samples"
cp tests/support/complete_line.sh "$home/"
chown -R "$user" "$home"
same "a conversion of the samples" \
  "$(as_user tellavin-cli convert favorites:~/samples/Favorites bookmarks.html --quiet)
$(as_user tellavin-cli menu netscape:bookmarks.html menu.html --preset TwinHelix --quiet)" \
  "5 Folders & 7 Links Exported Successfully.
5 Folders & 7 Links Exported Successfully."
same "the user's settings" "$(cd "$home" && find .config -type f | sort)" \
  ".config/tellavin/ColorPreset.ini
.config/tellavin/tellavin.ini"
grep -q '^\[TwinHelix\]' "$home/.config/tellavin/ColorPreset.ini" ||
  fail "the installed colour presets were not copied into the user's file"

same "man -w" "$(as_user man -w tellavin-cli tellavin)" "/usr/share/man/man1/tellavin-cli.1.gz
/usr/share/man/man1/tellavin.1.gz"
same "the completion of \"tellavin-cli con\"" \
  "$(as_user bash complete_line.sh /usr/share/bash-completion/completions/tellavin-cli \
     'tellavin-cli con' 2>&1)" "convert"
appstreamcli validate --no-net /usr/share/metainfo/example.tellavin.Tellavin.metainfo.xml >/dev/null ||
  fail "appstreamcli validate refuses the installed metadata"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/tellavin.desktop || fail "the menu entry does not validate"
fi

echo "== apt-get remove --purge tellavin"
DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq tellavin >/dev/null
same "what is left under /usr" "$(find /usr -path /usr/local -prune -o -name '*tellavin*' -print)" ""
echo "installed, checked and removed in $((SECONDS - started)) s"
