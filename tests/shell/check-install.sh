#!/bin/sh
# Installs the build into a scratch prefix and checks what lands there:
#   check-install.sh BUILD_DIR PREFIX APP_ID
set -eu
build=$1
prefix=$2
id=$3
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
check() {
    if [ -e "$prefix/$1" ]; then echo "ok: $1"; else echo "MISSING: $1"; status=1; fi
}
check bin/orfe
check bin/orfe-scale
check share/orfe/scales
check share/orfe/translations/orfe_fr.qm
check "share/applications/$id.desktop"
check "share/icons/hicolor/scalable/apps/$id.svg"
check "share/metainfo/$id.metainfo.xml"
[ -d "$prefix/share/orfe/scales" ] || { echo "share/orfe/scales is not a folder"; status=1; }
[ -x "$prefix/bin/orfe" ] || { echo "bin/orfe is not executable"; status=1; }
# The scales shipped with the program, every one readable by the installed checker.
set -- "$prefix"/share/orfe/scales/*.scl
[ $# -ge 9 ] || { echo "only $# scales in share/orfe/scales"; status=1; }
"$prefix/bin/orfe-scale" "$@" >/dev/null || { echo "orfe-scale cannot read every installed scale"; status=1; }
# The entry's icon name must find the installed icon.
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || { echo "Icon= does not name $id"; status=1; }
desktop-file-validate "$prefix/share/applications/$id.desktop" || status=1
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || status=1
exit $status
