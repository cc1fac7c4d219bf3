#!/bin/sh
# Installs the page test's tools (puppeteer-core, pinned in package-lock.json) into
# TOOLS_DIR with npm ci, once per lock file: after a successful install a copy of the lock
# file is kept there as a stamp, and while it matches, nothing is installed again.
# Exit status 77 (skipped) when npm is missing or cannot install (no registry).
#   install_tools.sh SOURCE_DIR TOOLS_DIR
set -eu
source_dir=$1
tools_dir=$2
stamp="$tools_dir/installed-package-lock.json"

if [ -d "$tools_dir/node_modules/puppeteer-core" ] && cmp -s "$source_dir/package-lock.json" "$stamp"; then
    echo "test tools are in place (as $stamp records)"
    exit 0
fi
if ! command -v npm >/dev/null; then
    echo "SKIPPED: npm is not installed (Debian package npm)"
    exit 77
fi
mkdir -p "$tools_dir"
rm -f "$stamp"
cp "$source_dir/package.json" "$source_dir/package-lock.json" "$tools_dir/"
if ! (cd "$tools_dir" && npm ci --no-audit --no-fund); then
    echo "SKIPPED: npm ci could not install the test tools (is the npm registry reachable?)"
    exit 77
fi
cp "$source_dir/package-lock.json" "$stamp"
