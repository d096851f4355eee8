# The set-up's private deb-src list comes from the system's own sources, in both formats (the
# set-up script is sourced apart: it brings its own shell options and failure report).
etc="$E2E_WORK/etc"
mkdir -p "$etc/sources.list.d"

cat >"$etc/sources.list" <<'LIST'
# the installer's entries
deb [arch=amd64] file:/srv/debian bookworm main contrib # trailing note
deb-src file:/srv/debian bookworm main
deb cdrom:[Debian 12]/ bookworm main
LIST
echo "deb file:/srv/extra bookworm-backports main" >"$etc/sources.list.d/extra.list"
cat >"$etc/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
# a comment between fields
URIs: file:/srv/debian
 file:/srv/mirror
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb deb-src
URIs: file:/srv/debian-security
Suites: bookworm-security
Components: main

Types: deb
Enabled: no
URIs: file:/srv/off
Suites: bookworm
Components: main

Types: deb-src
URIs: file:/srv/sources-only
Suites: bookworm
Components: main
SOURCES
echo "deb file:/srv/ignored bookworm main" >"$etc/sources.list.d/old.list.disabled"

key="[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]"
expected="deb-src [arch=amd64] file:/srv/debian bookworm main contrib
deb-src file:/srv/extra bookworm-backports main
deb-src $key file:/srv/debian bookworm main
deb-src $key file:/srv/debian bookworm-updates main
deb-src $key file:/srv/mirror bookworm main
deb-src $key file:/srv/mirror bookworm-updates main
deb-src file:/srv/debian-security bookworm-security main"
diff <(echo "$expected") <(. "$ROOT/scripts/setup.sh" && system_deb_src_lines "$etc") || fail "the deb-src list differs"
