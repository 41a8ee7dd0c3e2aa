#!/usr/bin/env bash
# Packs the built program as a Debian package and unpacks it into ROOT, without installing it.
# Usage: unpack_package.sh CPACK BUILD_DIR PACKAGE_DIR ROOT
set -euo pipefail
cpack=$1 build_dir=$2 package_dir=$3 root=$4

rm -rf "$package_dir" "$root"
"$cpack" -G DEB -B "$package_dir" --config "$build_dir/CPackConfig.cmake"
debs=("$package_dir"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected one package in $package_dir, found: ${debs[*]}" >&2
    exit 1
fi
dpkg-deb -x "${debs[0]}" "$root"
