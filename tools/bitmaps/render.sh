#!/bin/sh
# Regenerate res/bitmaps/*.bmp and docs/bitmaps.png from tools/bitmaps/*.py,
# then check the written files.  Needs the Debian Python with PIL.
set -e
PY=/usr/bin/python3
if ! "$PY" -c 'import PIL' 2>/dev/null; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y python3-pil || { apt-get update && apt-get install -y python3-pil; }
    else
        echo "render.sh: python3-pil is missing; run as root or: sudo apt-get install python3-pil" >&2
        exit 1
    fi
fi
cd "$(dirname "$0")"
exec "$PY" -B render.py
