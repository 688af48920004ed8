#!/usr/bin/env bash
# Checks what QAXOntologyItem.dll exports, read from its export table:
#   - GetType and InitDLL under their plain names, as the engine finds them;
#   - the members, vtables and type information of the three exported
#     classes: Aco_QAXOntologyItem, ChannelExtension<Aco_FloatChannel> and
#     MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#   - the diagnostics and channel helpers that those classes' code calls,
#     which a client that instantiates a multi-mode channel of its own links
#     to (the link record builder and the operation names included);
# and nothing else. Prints the exports by group; exits 1 naming every export
# that is in none of them or every entry point that is missing.
#
#   scripts/check-dll-exports.sh [DLL]   (default build/windows/bin/QAXOntologyItem.dll)
set -euo pipefail
cd "$(dirname "$0")/.."
dll=${1:-build/windows/bin/QAXOntologyItem.dll}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[[ -f "$dll" ]] || { echo "check-dll-exports: no $dll (cmake --build --preset windows)" >&2; exit 2; }

# The name table lists "[ordinal] name" pairs after its heading.
mapfile -t names < <("$objdump" -p "$dll" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed '1d;/^$/d' | awk '{print $NF}')

classes='(Aco_QAXOntologyItem|ChannelExtension<Aco_FloatChannel>|MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>)'
helpers='(CopyFieldText|MakeLinkRecord|kMultiModeOperationNames|ChannelBaseGuidMatch|GetChannelGroupName|FormatDebugPrefix|AppendDebugMessage|FormatDebugMessage|EscapeForFormat|ReportFailedCheck|ReportError|ReportPlain|DebugMessageBuffer|DebugMessageText)'
entry=0 class=0 helper=0 bad=()
for name in "${names[@]}"; do
  plain=$(c++filt <<<"$name")
  if [[ "$name" == GetType || "$name" == InitDLL ]]; then
    entry=$((entry + 1))
  elif [[ "$plain" =~ ^((vtable|typeinfo|typeinfo\ name)\ for\ |non-virtual\ thunk\ to\ )?$classes(::|$) ]]; then
    class=$((class + 1))
  elif [[ "$plain" =~ ^$helpers(\(|\[|$) ]]; then
    helper=$((helper + 1))
  else
    bad+=("$plain")
  fi
done
echo "$dll: ${#names[@]} exports: $entry entry points, $class of the exported classes, $helper helpers"
status=0
for want in GetType InitDLL; do
  if ! printf '%s\n' "${names[@]}" | grep -qx "$want"; then
    echo "check-dll-exports: '$want' is not exported under its plain name" >&2
    status=1
  fi
done
for plain in "${bad[@]}"; do
  echo "check-dll-exports: exports what the engine does not need: $plain" >&2
  status=1
done
exit "$status"
