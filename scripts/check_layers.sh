#!/usr/bin/env bash
# Fails when a folder of src/ includes a folder above it: each folder is one
# layer and may include only itself and the layers listed before it.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(platform model imaging formats settings ui document view property shell)
# cli sits on the engine: it may include the engine layers only.
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
engine_top=${rank[settings]}

status=0
while IFS= read -r line; do
  file=${line%%:*}
  from=$(cut -d/ -f2 <<<"$file")
  to=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
  [[ "$from" == "$to" ]] && continue
  if [[ -z "${rank[$to]+x}" ]]; then
    echo "layers: $file includes unknown folder '$to'" >&2; status=1; continue
  fi
  if [[ "$from" == cli ]]; then
    limit=$engine_top
  elif [[ -n "${rank[$from]+x}" ]]; then
    limit=$((rank[$from] - 1))
  else
    echo "layers: $file is in a folder missing from the layer list" >&2; status=1; continue
  fi
  if ((rank[$to] > limit)); then
    echo "layers: $file ($from) includes $to, a layer above it" >&2
    status=1
  fi
done < <(grep -rnE '^\s*#\s*include "[^/"]+/' src --include='*.cpp' --include='*.h')

# The engine and sigil keep their pixels in plain buffers: no Qt GUI header
# (QImage, QPainter, QColor, QClipboard...), nor a library that links it.
gui='#\s*include\s*<(QtGui/)?Q(Image|ImageReader|ImageWriter|Pixmap|Painter|Color|Clipboard|GuiApplication|Icon|Font|Palette|Transform|Region|Bitmap|Brush|Pen|PainterPath|Polygon|Rgb)\b'
while IFS= read -r line; do
  echo "layers: ${line%%:*} is in the engine and includes a Qt GUI header" >&2
  status=1
done < <(grep -rnE "$gui" src/platform src/model src/imaging src/formats src/settings src/cli --include='*.cpp' --include='*.h')
if grep -qE 'Qt6::(Gui|Widgets)' src/{platform,model,imaging,formats,settings,cli}/CMakeLists.txt; then
  echo "layers: an engine library links Qt GUI" >&2
  status=1
fi
exit $status
