#!/usr/bin/env bash
# Builds the .deb of the build tree in $1 and checks it as dpkg would see it:
# control fields, dependencies against the owners of the linked libraries,
# file list, and the unpacked program answering --version, --help and
# --status (on a demo database, through the link in bin/).
#   verificar-deb.sh BUILD_DIR VERSION SCHEMA_SQL
set -uo pipefail
construcao="$1"
versao="$2"
esquema="$3"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }
igual() { [ "$2" = "$3" ] || falha "$1: esperado «$3», obtido «$2»"; }
contem() { grep -qF -- "$3" <<<"$2" || falha "$1: «$3» ausente em: $2"; }

# ---- build ----
if ! (cd "$construcao" && cpack -G DEB -B "$tmp/pacote" > "$tmp/cpack.log" 2>&1); then
  cat "$tmp/cpack.log"
  echo "FALHA: cpack não gerou o pacote"
  exit 1
fi
arquitetura="$(dpkg --print-architecture)"
deb="$tmp/pacote/painel-integracao_${versao}_${arquitetura}.deb"
[ -f "$deb" ] || { ls -R "$tmp/pacote"; echo "FALHA: $deb não existe"; exit 1; }
echo "pacote: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# ---- control data ----
campo() { dpkg-deb -f "$deb" "$1"; }
igual Package "$(campo Package)" painel-integracao
igual Version "$(campo Version)" "$versao"
igual Architecture "$(campo Architecture)" "$arquitetura"
igual Section "$(campo Section)" database
igual Recommends "$(campo Recommends)" firebird3.0-server-core
contem Maintainer "$(campo Maintainer)" "VKT Informática"
contem Description "$(campo Description)" "painel de controle da integração off-line"
contem Description "$(campo Description)" "/etc/painel-integracao/Caminho.ini"

# Every name in Depends, without versions or alternatives.
depends="$(campo Depends)"
mapfile -t dependencias < <(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/[[:space:]]//g' | grep -v '^$' | sort -u)
for p in libqt6widgets6 libqt6gui6 libqt6core6 libfbclient2 libcpp-httplib0.11 libc6 libstdc++6 fonts-liberation2 adduser; do
  printf '%s\n' "${dependencias[@]}" | grep -qx "$p" || falha "Depends sem $p: $depends"
done
# Each library the program links comes from a package the .deb depends on.
programa="$construcao/painel-integracao"
while read -r biblioteca; do
  caminho="$(ldd "$programa" | awk -v b="$biblioteca" '$1 == b { print $3 }')"
  [ -n "$caminho" ] || { falha "$biblioteca não encontrada por ldd"; continue; }
  dono="$(dpkg -S "$(readlink -f "$caminho")" 2>/dev/null | head -n 1 | cut -d: -f1)"
  [ -n "$dono" ] || dono="$(dpkg -S "$caminho" 2>/dev/null | head -n 1 | cut -d: -f1)"
  [ -n "$dono" ] || { falha "nenhum pacote instalado fornece $caminho"; continue; }
  printf '%s\n' "${dependencias[@]}" | grep -qx "$dono" || falha "$biblioteca vem de $dono, fora de Depends: $depends"
done < <(objdump -p "$programa" | awk '$1 == "NEEDED" { print $2 }')
# Every dependency names a package that exists on this system.
for p in "${dependencias[@]}"; do
  dpkg-query -W "$p" > /dev/null 2>&1 || falha "dependência desconhecida: $p"
done

# ---- file list ----
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' > "$tmp/lista"
esperado="./usr/bin/painel-integracao -> ../lib/painel-integracao/painel-integracao
./usr/lib/painel-integracao/Caminho.ini -> /etc/painel-integracao/Caminho.ini
./usr/lib/painel-integracao/codificar-credencial
./usr/lib/painel-integracao/painel-integracao
./usr/lib/systemd/system/painel-integracao.service
./usr/share/applications/painel-integracao.desktop
./usr/share/doc/painel-integracao/Caminho.ini.exemplo
./usr/share/doc/painel-integracao/README.md
./usr/share/icons/hicolor/256x256/apps/painel-integracao.png
./usr/share/icons/hicolor/scalable/apps/painel-integracao.svg"
igual "arquivos do pacote" "$(grep -v '/$' "$tmp/lista" | sort)" "$esperado"

# ---- the monitoring service's unit and user ----
dpkg-deb -e "$deb" "$tmp/controle"
[ -x "$tmp/controle/postinst" ] || falha "postinst ausente ou não executável"
postinst="$(cat "$tmp/controle/postinst" 2>/dev/null)"
contem postinst "$postinst" "adduser --system --group"
if grep -Eq 'systemctl +(enable|start)|deb-systemd-helper +enable' "$tmp/controle/postinst"; then
  falha "postinst habilita ou inicia o serviço"
fi
grep -q '/etc/systemd' "$tmp/lista" && falha "o pacote traz um link de habilitação em /etc/systemd"
sh -n "$tmp/controle/postinst" || falha "postinst: erro de sintaxe"

# ---- unpacked into a scratch root ----
raiz="$tmp/raiz"
dpkg-deb -x "$deb" "$raiz" || { echo "FALHA: dpkg-deb -x"; exit 1; }
instalado="$raiz/usr/lib/painel-integracao/painel-integracao"
contem "programa sem símbolos de depuração" "$(file -L "$instalado")" ", stripped"
atalho="$raiz/usr/share/applications/painel-integracao.desktop"
contem ".desktop Exec" "$(grep '^Exec=' "$atalho")" "Exec=painel-integracao"
contem ".desktop Icon" "$(grep '^Icon=' "$atalho")" "Icon=painel-integracao"
if command -v desktop-file-validate > /dev/null; then
  saida="$(desktop-file-validate "$atalho" 2>&1)" || falha "desktop-file-validate: $saida"
fi
contem "ícone PNG" "$(file "$raiz/usr/share/icons/hicolor/256x256/apps/painel-integracao.png")" "PNG image data, 256 x 256"

bin="$raiz/usr/bin/painel-integracao"
saida="$("$bin" --version 2>&1)"; rc=$?
igual "--version (código)" "$rc" 0
igual "--version" "$saida" "painel-integracao v.29.07ad0"
saida="$("$bin" --help 2>&1)"; rc=$?
igual "--help (código)" "$rc" 0
contem "--help" "$saida" "--status"
contem "--help" "$saida" "--check"
contem "--help" "$saida" "--serve"

unidade="$raiz/usr/lib/systemd/system/painel-integracao.service"
contem "unidade User" "$(grep '^User=' "$unidade")" "User=painel-integracao"
contem "unidade ExecStart" "$(grep '^ExecStart=' "$unidade")" \
  "ExecStart=/usr/bin/painel-integracao --serve --ini=/etc/painel-integracao/Caminho.ini"
if command -v systemd-analyze > /dev/null; then
  # The unit's own syntax; its program is in the scratch root, not /usr/bin.
  saida="$(systemd-analyze verify "$unidade" 2>&1 | grep -v 'is not executable: No such file')"
  [ -z "$saida" ] || falha "systemd-analyze verify: $saida"
fi

codificar="$raiz/usr/lib/painel-integracao/codificar-credencial"
igual "codificar-credencial instalado" "$("$codificar" SYSDBA 2>&1)" "$("$construcao/tools/codificar-credencial" SYSDBA)"

# Without a configuration the link points at /etc; in the scratch root a real
# file takes its place, and the program started through bin/ must read it
# from the folder of the executable it resolves to.
tools="$construcao/tools"
banco="$tmp/demo.fdb"
if ! "$tools/construir-demo" --esquema="$esquema" --banco="$banco" --log="$tmp/integracao.txt" > "$tmp/demo.log" 2>&1; then
  cat "$tmp/demo.log"; falha "construir-demo"
else
  rm -f "$raiz/usr/lib/painel-integracao/Caminho.ini"
  printf '[DATABASEESTOQUE]\nCAMINHO=%s\nUSUARIO=%s\nSENHA=%s\n' "$banco" \
    "$("$codificar" SYSDBA)" "$("$codificar" masterkey)" \
    > "$raiz/usr/lib/painel-integracao/Caminho.ini"
  saida="$(cd "$tmp" && "$bin" --status --format=csv 2>&1)"; rc=$?
  igual "--status (código)" "$rc" 0
  contem "--status" "$saida" "Matriz - São Paulo"
  contem "--status" "$saida" "São José dos Campos - Shopping"
  saida="$(cd "$tmp" && "$bin" --check 2>&1)"; rc=$?
  igual "--check (código: erros não conferidos na demonstração)" "$rc" 2

  # The service on a free port: its metrics, then SIGTERM and status 0.
  "$bin" --serve=127.0.0.1:0 --interval=1 2> "$tmp/servico.log" &
  pid=$!
  porta=""
  for _ in $(seq 1 300); do
    porta="$(sed -n 's|.*servindo em http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$tmp/servico.log")"
    [ -n "$porta" ] && grep -q "primeira leitura" "$tmp/servico.log" && break
    sleep 0.1
  done
  saida="$(python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=10).read().decode())' \
    "http://127.0.0.1:$porta/metrics" 2>&1)"
  contem "--serve /metrics" "$saida" "painel_integracao_banco_acessivel 1"
  contem "--serve /metrics" "$saida" 'painel_integracao_erros_nao_conferidos{filial='
  kill -TERM "$pid"; wait "$pid"; rc=$?
  igual "--serve após SIGTERM (código)" "$rc" 0
  contem "--serve log" "$(cat "$tmp/servico.log")" "encerrando (SIGTERM)"
fi

if [ "$falhas" -ne 0 ]; then
  echo "$falhas verificação(ões) falharam"
  exit 1
fi
echo "pacote verificado"
