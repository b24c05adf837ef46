#!/bin/sh
# What `make run` and `make test` need on a Debian or Ubuntu machine: the packages missing are
# installed when this user may (root, or sudo without a password), and otherwise named with the
# one command that installs them. On other systems it checks nothing.
# Usage: requisitos.sh run|test|web|web-test
#   web: the WebAssembly build and the page (clang for wasm32-wasi, binaryen, fast_float, Node.js);
#   web-test: also the three browsers and the virtual display its tests run them in.
set -eu
command -v dpkg-query >/dev/null 2>&1 || exit 0
pacotes="g++ cmake make"
web="clang lld wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 \
binaryen libfast-float-dev"
# Node.js and npm from Debian only when the machine has no node of its own.
command -v node >/dev/null 2>&1 || web="$web nodejs"
command -v npm >/dev/null 2>&1 || web="$web npm"
case "${1:-run}" in
    test) pacotes="$pacotes libgtest-dev clang libclang-rt-14-dev time groff-base" ;;
    web) pacotes="$pacotes $web" ;;
    web-test) pacotes="$pacotes $web chromium firefox-esr webkit2gtk-driver xvfb fonts-dejavu-core" ;;
esac
faltam=""
for p in $pacotes; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || faltam="$faltam $p"
done
[ -z "$faltam" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    como=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    como="sudo"
else
    echo "make $1 needs these packages:$faltam. Install them with:" >&2
    echo "    sudo apt-get install$faltam" >&2
    exit 1
fi
echo "make $1: installing$faltam" >&2
$como env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $faltam >/dev/null ||
    { $como apt-get update >/dev/null &&
      $como env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $faltam >/dev/null; }
