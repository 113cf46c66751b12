#!/usr/bin/env bash
# rodar-ferramentas.sh PASTA_DAS_FERRAMENTAS ESQUEMA
# Generates a benchmark database of 10 machines and 2,000 changes in a
# scratch folder, runs every measurement once on it and checks that each
# completes and prints its keys.
set -euo pipefail
ferramentas="$1"
esquema="$2"
pasta="$(mktemp -d)"
trap 'rm -rf "$pasta"' EXIT

falhar() { printf 'FALHA: %s\n' "$*" >&2; exit 1; }
# exige SAIDA CHAVE...: every key present as "chave=valor" with a value.
# igual SAIDA CHAVE VALOR: the key printed with exactly that value.
igual() {
  grep -qx "$2=$3" <<<"$1" || falhar "esperado $2=$3, veio: $(grep "^$2=" <<<"$1" || echo nada)"
}
exige() {
  local saida="$1"; shift
  for chave in "$@"; do
    grep -Eq "^${chave//./\\.}=[^[:space:]]+" <<<"$saida" || falhar "chave ausente: $chave"
  done
}

banco="$pasta/pequeno.fdb"
saida="$("$ferramentas/gerar-banco-desempenho" --banco="$banco" --esquema="$esquema" --maquinas=10 --registros=2000)"
printf '%s\n' "$saida"
grep -q '^gerado: FILIAIS=1 IGFMAQUINA=10 MVINTEGGERAL=2000 REGISTROSINTEGRADOS=100 INTEGMAQUINA=200 FILAINTEGOFFLINE=200 INTEGERRO=6 ' <<<"$saida" || falhar "tamanhos gerados"

saida="$("$ferramentas/medir-desempenho" --banco="$banco" --repeticoes=2)"
printf '%s\n' "$saida"
exige "$saida" linhas memoria_pico_mib linhas_iguais
for m in padrao rapida; do
  exige "$saida" $m.atualizacao_ms $m.piso_ms $m.razao $m.cpu_razao $m.instrucoes $m.preparos_primeira \
    $m.preparos_seguinte $m.sinais_reset $m.sinais_insercao $m.sinais_celula $m.com_grade_ms $m.pintura_ms
done
grep -q '^linhas=10$' <<<"$saida" || falhar "linhas"
# Counts, not times: 1 + 2N and 3 statements, 3 prepares then none, one
# reset per refresh and no per-row signal.
igual "$saida" padrao.instrucoes 21
igual "$saida" rapida.instrucoes 3
for m in padrao rapida; do
  igual "$saida" $m.preparos_primeira 3
  igual "$saida" $m.preparos_seguinte 0
  igual "$saida" $m.sinais_reset 1
  igual "$saida" $m.sinais_insercao 0
  igual "$saida" $m.sinais_celula 0
done
grep -q '^linhas_iguais=sim$' <<<"$saida" || falhar "as duas maneiras deram linhas diferentes"
grep -q '^tabela: | 10 | padrao |' <<<"$saida" || falhar "linha da tabela"

saida="$("$ferramentas/medir-janelas" --medir=registros --banco="$banco")"
printf '%s\n' "$saida"
exige "$saida" registros.linhas registros.exibido_ms registros.consultas_catalogo registros.crescimento_mib
# The first machine has every change still to send, over the 20 tables:
# one catalogue query per table, every row with its key text.
igual "$saida" registros.linhas 2000
igual "$saida" registros.com_chave 2000
igual "$saida" registros.tabelas 20
igual "$saida" registros.consultas_catalogo 20
igual "$saida" registros.instrucoes 21

saida="$("$ferramentas/medir-janelas" --medir=log --mib=1 --pasta="$pasta")"
printf '%s\n' "$saida"
exige "$saida" log.linhas log.exibido_ms log.pico_mib log.pico_por_arquivo

usuario="$("$ferramentas/codificar-credencial" SYSDBA)"
senha="$("$ferramentas/codificar-credencial" masterkey)"
printf '[DATABASEESTOQUE]\nCAMINHO=%s\nUSUARIO=%s\nSENHA=%s\n' "$banco" "$usuario" "$senha" > "$pasta/Caminho.ini"
saida="$("$ferramentas/medir-janelas" --medir=partida --ini="$pasta/Caminho.ini")"
printf '%s\n' "$saida"
exige "$saida" partida.linhas partida.primeira_grade_ms partida.memoria_pico_mib
grep -q '^partida.linhas=10$' <<<"$saida" || falhar "linhas na partida"

# The service under load for two seconds: every request answered, and the
# refreshes its own (one a second), not one per request.
"$ferramentas/../painel-integracao" --serve=127.0.0.1:0 --interval=1 --ini="$pasta/Caminho.ini" 2> "$pasta/servico.log" &
servico=$!
porta=""
for _ in $(seq 1 300); do
  porta="$(sed -n 's|.*servindo em http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$pasta/servico.log")"
  [ -n "$porta" ] && grep -q "primeira leitura" "$pasta/servico.log" && break
  sleep 0.1
done
[ -n "$porta" ] || { kill "$servico"; falhar "o serviço não começou: $(cat "$pasta/servico.log")"; }
saida="$("$ferramentas/medir-servico" --porta="$porta" --clientes=4 --segundos=2)" || true
kill -TERM "$servico"
wait "$servico" || falhar "o serviço não terminou com 0"
printf '%s\n' "$saida"
exige "$saida" servico.pedidos servico.pedidos_por_segundo servico.p50_ms servico.p99_ms servico.atualizacoes
igual "$saida" servico.erros 0
atualizacoes="$(sed -n 's/^servico.atualizacoes=//p' <<<"$saida")"
[ "$atualizacoes" -le 4 ] || falhar "$atualizacoes atualizações em 2 s com período de 1 s"

saida="$("$ferramentas/medir-historico" --maquinas=20)"
printf '%s\n' "$saida"
exige "$saida" heap_bytes heap_por_maquina_bytes residente_bytes painel_json_ms
igual "$saida" maquinas 20
echo "ok"
