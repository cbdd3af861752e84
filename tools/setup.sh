#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine, and cross-builds
# libpng for both MinGW-w64 targets from Debian's own source package. Idempotent: a second
# run only checks and returns.
set -euo pipefail

DEPS_DIR="${TQ_DEPS_DIR:-/opt/tarvexquoxel/deps}"

PACKAGES=(
  build-essential g++ cmake ninja-build pkg-config dpkg-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-liberation
  googletest libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 libz-mingw-w64-dev
  wine wine64 wine32:i386 xvfb xauth x11-utils clang-format-14
  # FuzzedDataProvider.h, for the native replays of the fuzzers' inputs; clang and libFuzzer
  # for the fuzzers themselves; clang also builds the test objects for Microsoft's ABI
  # (cmake/MsAbi.cmake)
  libclang-rt-14-dev clang-14
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

ensure_source_entry() {
  # apt-get source needs a deb-src entry for the suite the machine runs.
  if apt-get source --print-uris libpng1.6 >/dev/null 2>&1; then return; fi
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  as_root tee /etc/apt/sources.list.d/tarvexquoxel-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: ${suite} ${suite}-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: ${suite}-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  NEED_UPDATE=1
}

install_packages() {
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ] || [ "${NEED_UPDATE:-0}" = 1 ]; then
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -q
    if [ -n "$missing" ]; then
      # shellcheck disable=SC2086
      as_root apt-get install -y -q --no-install-recommends $missing
    fi
  fi
}

# 32-bit Wine runs the x86 test programs; its packages come from the i386 architecture.
ensure_i386_architecture() {
  dpkg --print-foreign-architectures | grep -qx i386 && return
  as_root dpkg --add-architecture i386
  NEED_UPDATE=1
}

# The 32-bit dynamic loader, run without Wine: does this machine start 32-bit programs?
runs_32bit_programs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

BINFMT_DIR=/proc/sys/fs/binfmt_misc
QEMU_I386=/usr/bin/qemu-i386-static

# Wine needs qemu 8 or newer (7.2 fails to map Wine's shared user data).
qemu_is_recent() {
  local major
  major=$("$QEMU_I386" --version 2>/dev/null | awk 'NR == 1 { split($3, v, "."); print v[1] + 0 }')
  [ "${major:-0}" -ge 8 ]
}

install_qemu_user() {
  local suite target=()
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ "$suite" = bookworm ]; then
    # bookworm's own qemu is too old for Wine; its backports carry a newer one.
    as_root tee /etc/apt/sources.list.d/tarvexquoxel-backports.sources >/dev/null <<SRC
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    as_root apt-get update -q
    target=(-t bookworm-backports)
  fi
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${target[@]}" qemu-user-static
}

# Registers qemu for 32-bit x86 programs. Registrations end with a reboot, so each run checks.
# The F flag opens the interpreter now, so the entry also works inside containers.
register_qemu_i386() {
  [ -e "$BINFMT_DIR/register" ] || as_root mount -t binfmt_misc binfmt_misc "$BINFMT_DIR"
  if [ -e "$BINFMT_DIR/qemu-i386" ]; then
    echo -1 | as_root tee "$BINFMT_DIR/qemu-i386" >/dev/null
  fi
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:$QEMU_I386:F" | as_root tee "$BINFMT_DIR/register" >/dev/null
}

# Where the kernel cannot start 32-bit programs itself, user-mode qemu runs them.
ensure_32bit_programs_run() {
  if runs_32bit_programs && { [ ! -e "$BINFMT_DIR/qemu-i386" ] || qemu_is_recent; }; then
    return
  fi
  qemu_is_recent || install_qemu_user
  register_qemu_i386
  if ! runs_32bit_programs; then
    echo "setup: this machine cannot start 32-bit programs, not even through qemu" >&2
    return 1
  fi
  echo "setup: 32-bit programs run through qemu ($("$QEMU_I386" --version | head -n 1))"
}

# Some mirrors lack the newest source upload of a suite: take the newest one that comes.
fetch_libpng_source() {
  local version
  for version in $(apt-cache showsrc libpng1.6 | awk '/^Version:/ {print $2}' | sort -rV); do
    if apt-get source --download-only "libpng1.6=$version" >/dev/null 2>&1; then return; fi
  done
  echo "setup: no source package of libpng1.6 could be fetched" >&2
  return 1
}

# Builds a static libpng for one MinGW target straight from the source files; the
# prebuilt configuration header is the library's own default feature set.
build_libpng_for() {
  local triplet=$1
  local prefix="$DEPS_DIR/$triplet"
  [ -f "$prefix/lib/libpng.a" ] && return
  local work
  work=$(mktemp -d)
  (
    cd "$work"
    fetch_libpng_source
    dpkg-source -x --no-check ./*.dsc src >/dev/null
    cd src
    cp scripts/pnglibconf.h.prebuilt pnglibconf.h
    local sources="png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c
                   pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c"
    local objects=""
    for s in $sources; do
      "$triplet-gcc" -O2 -c "$s" -o "${s%.c}.o"
      objects="$objects ${s%.c}.o"
    done
    mkdir -p "$prefix/lib" "$prefix/include"
    # shellcheck disable=SC2086
    "$triplet-ar" rcs "$prefix/lib/libpng.a" $objects
    cp png.h pngconf.h pnglibconf.h "$prefix/include/"
  )
  rm -rf "$work"
}

ensure_source_entry
ensure_i386_architecture
install_packages
ensure_32bit_programs_run
build_libpng_for x86_64-w64-mingw32
build_libpng_for i686-w64-mingw32
echo "setup: ready (MinGW libpng in $DEPS_DIR)"
