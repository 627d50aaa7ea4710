# Builds an Ulvan Pascal program with Free Pascal (sourced by run-one and bench/run).
#
# Ulvan's dialect needs no `uses` clause and has GOTO, Result, identifier labels, shortstrings of
# 255 characters, double reals and complete evaluation of AND/OR. Free Pascal gets the same
# through a copy of the source whose first line starts with the mode switches (so line numbers
# stay the same) and through -FaSysUtils, which loads SysUtils (IntToStr, FloatToStr) without
# touching the PROGRAM heading. -CF64 keeps real constants doubles.

FPC_DIALECT_PRELUDE='{$mode objfpc}{$H-}{$goto on}{$B+}'
FPC_DIALECT_FLAGS=(-CF64 -FaSysUtils -vw-n-h-)

# Makes sure that fpc exists; installs fp-compiler when running as root.
fpc_ensure() {
  command -v fpc >/dev/null 2>&1 && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "fpc is missing; installing fp-compiler" >&2
    export DEBIAN_FRONTEND=noninteractive
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends fp-compiler; } >&2
    command -v fpc >/dev/null 2>&1 && return 0
  fi
  echo "fpc (Free Pascal, package fp-compiler) is needed and could not be installed" >&2
  return 1
}

# fpc_build SOURCE OUTDIR LOG [extra fpc flags...]: builds OUTDIR/prog; fpc's messages go to LOG.
fpc_build() {
  local src="$1" out="$2" log="$3"; shift 3
  mkdir -p "$out"
  { printf '%s' "$FPC_DIALECT_PRELUDE"; cat "$src"; } >"$out/prog.pas"
  fpc "${FPC_DIALECT_FLAGS[@]}" "$@" -FE"$out" -o"$out/prog" "$out/prog.pas" >"$log" 2>&1 &&
    [ -x "$out/prog" ]
}
