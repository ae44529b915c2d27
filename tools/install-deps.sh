#!/bin/sh
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -eu

packages="cmake make g++ pkg-config qt6-base-dev libsqlcipher-dev libjpeg-dev
libssl-dev libgtest-dev libgmock-dev fonts-dejavu-core fonts-liberation xvfb xauth xdotool poppler-utils
qt6-translations-l10n"
# "fuzz": also clang and its libFuzzer runtime, for the fuzz harnesses.
if [ "${1:-}" = fuzz ]; then
    packages="$packages clang libclang-rt-dev"
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    run=""
else
    run="sudo"
fi
echo "Instalando:$missing"
$run apt-get update
DEBIAN_FRONTEND=noninteractive $run apt-get install -y --no-install-recommends $missing
